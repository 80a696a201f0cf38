// How a login or a run ended is said where the engineer looks, and never taken for success.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "tests/faults/FaultSession.h"

namespace {

using namespace faulttest;

// "+++" unanswered: within the Login's time-out (5 s at 115200 baud) the log and the device
// state say so, and a later command need not wait for a greeting.
TEST(RunEnd, ALoginWithoutAnswerIsReportedWithinItsTimeOut) {
    Session s(ConfigurationUnit(), false);
    ASSERT_TRUE(s.ready) << s.error;
    ASSERT_TRUE(s.Open());
    ASSERT_TRUE(s.AddFault("mute")) << s.error;
    const auto sent = std::chrono::steady_clock::now();
    s.Click("Login");
    const std::string said = Label("Login", "NoAnswer");
    const std::string start = said.substr(0, said.find('{'));
    ASSERT_TRUE(WaitUntil([&] { return s.frame.log.find(start) != std::string::npos; }, 7000))
        << Tail(s.frame.log);
    EXPECT_LT(std::chrono::steady_clock::now() - sent, std::chrono::milliseconds(5500));
    EXPECT_EQ(s.Control("DeviceState")->GetText().str(), Label("DeviceNote", "NoAnswer"));
    EXPECT_FALSE(s.frame.loggedIn);
}

}  // namespace
