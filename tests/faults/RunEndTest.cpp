// How a login or a run ended is said where the engineer looks, and never taken for success.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "engine/JobTypes.h"
#include "engine/Worker.h"
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
    ASSERT_TRUE(WaitUntil([&] { return s.frame.log.find(start) != std::string::npos; }, 8000))
        << Tail(s.frame.log);
    // Said within about its time-out; a loaded machine may add a little, a second wait (10 s)
    // would be far beyond.
    EXPECT_LT(std::chrono::steady_clock::now() - sent, std::chrono::milliseconds(7500));
    EXPECT_EQ(s.Control("DeviceState")->GetText().str(), Label("DeviceNote", "NoAnswer"));
    EXPECT_FALSE(s.frame.loggedIn);
}

std::string Filled(const char* section, const char* key, const std::string& names) {
    std::string text = Label(section, key);
    const std::size_t at = text.find("{names}");
    return at == std::string::npos ? text : text.replace(at, 7, names);
}

struct EndCase {
    const char* what;
    const char* fault;
    const char* click;    // "Load" or "Save" (of the edits below)
    const char* silent;   // the command whose answer never comes, or null
    std::string bar;      // what the bar says at the end
    std::string state;    // what the device state says
    std::string summary;  // the log's account of the writes ("" none)
    bool ipPending;       // the address edit is still marked pending afterwards
};

// A Save of three edits (address and port after the APN), or a Load, each ending its own way:
// the bar, the device state and the log say how; a write not confirmed stays pending.
TEST(RunEnd, TheBarTheStateAndTheLogSayHowARunEnded) {
    const std::string loggedIn = Label("SetDeviceState", "szLoginOn");
    const std::string ip = "Main server IP", port = "Main server port";
    const EndCase cases[] = {
        {"every write confirmed", nullptr, "Save", nullptr, Label("Progress", "Done"), loggedIn, "",
         false},
        {"a write refused", "error@AT+IPAD", "Save", nullptr, Filled("Progress", "EndRefused", ip),
         loggedIn,
         Filled("Progress", "Written", "APN, " + port) + " " + Filled("Progress", "Refused", ip),
         true},
        // Carried out but unanswered: the read-back finds it held, so it is no longer pending.
        {"a write unanswered", "mute@AT+PORT", "Save", "AT+PORT=7041",
         Filled("Progress", "EndNoAnswer", port), Label("DeviceNote", "RunNoAnswer"),
         Filled("Progress", "Written", "APN, " + ip) + " " + Filled("Progress", "Unknown", port),
         false},
        {"the listing unanswered", "mute@AT+SHOW", "Load", "AT+SHOW",
         Filled("Progress", "EndNoAnswer", "AT+SHOW"), Label("DeviceNote", "RunNoAnswer"), "",
         false},
        // One answer of six bytes, then the line is cut inside the second.
        {"the port lost", "unplug=9", "Save", nullptr, Label("Progress", "EndPortLost"),
         Label("DeviceNote", "PortLost"),
         Filled("Progress", "Written", "APN") + " " + Filled("Progress", "Unknown", ip) + " " +
             Filled("Progress", "NotSent", port),
         true},
    };
    for (const EndCase& c : cases) {
        SCOPED_TRACE(c.what);
        Session s;
        ASSERT_TRUE(s.ready) << s.error;
        if (c.fault) {
            ASSERT_TRUE(s.AddFault(c.fault)) << s.error;
        }
        const bool save = std::string(c.click) == "Save";
        if (save) {
            s.Control("Access Point Name")->SetText("apn.end.example");
            s.Control("Server's Ip")->SetText("198.51.100.41");
            s.Control("Server's Port")->SetText("7041");
        }
        const std::size_t from = s.frame.log.size();
        s.Click(c.click);
        ASSERT_TRUE(WaitUntil([&] { return s.frame.progress.running; }, 5000));
        if (c.silent) {
            const JobType type = save ? JobType::WriteParameter : JobType::ReadAll;
            ASSERT_TRUE(s.TimeOutWhenSent(c.silent, JobTimeout(type, 1))) << Tail(s.frame.log);
            // Then the grace a late answer gets: the wait after the time-out's line.
            const std::string outTime = Label("WorkerJobThreadProc", "OutTime");
            ASSERT_TRUE(WaitUntil(
                [&] {
                    return s.frame.log.find(outTime, from) != std::string::npos &&
                           s.clock.Subscribers() > 0;
                },
                5000));
            s.clock.Advance(kLateAnswerGrace + std::chrono::milliseconds(1));
        }
        // A job after an unanswered one is preceded by a probe (AT) that brings the line in
        // step: its OK is taken as the late answer owed, then its own wait passes, once.
        bool probePassed = false;
        ASSERT_TRUE(WaitUntil(
            [&] {
                if (!s.frame.progress.running) return true;
                const std::size_t at = s.frame.log.find("Send:AT\r\n", from);
                if (c.silent && !probePassed && at != std::string::npos &&
                    s.frame.log.find("OK", at) != std::string::npos && s.clock.Subscribers() > 0) {
                    s.clock.Advance(std::chrono::minutes(1));
                    probePassed = true;
                }
                return false;
            },
            15000))
            << Tail(s.frame.log);
        RunEventsFor(100);
        EXPECT_EQ(s.frame.progressSteps.back().text, c.bar);
        // A full bar is framed as a problem unless the run simply succeeded.
        EXPECT_EQ(s.Control("JobProgress")->ProblemMark().empty(),
                  c.bar == Label("Progress", "Done"));
        EXPECT_EQ(s.Control("DeviceState")->GetText().str(), c.state);
        const std::string log = s.frame.log.substr(from);
        if (c.summary.empty()) {
            EXPECT_EQ(log.find(Filled("Progress", "Written", "")), std::string::npos) << log;
        } else {
            EXPECT_NE(log.find(c.summary + "\r\n"), std::string::npos) << Tail(log);
        }
        EXPECT_EQ(s.Control("Server's Ip")->HasPendingMark(), c.ipPending);
        EXPECT_FALSE(s.Control("Access Point Name")->HasPendingMark());
    }
}

}  // namespace
