// The unit restarts in the middle of a session: it prompts again, the frame answers the prompt
// and is logged in again, and whatever was on the line when it went down is not taken as done.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "engine/FrameTimers.h"
#include "tests/faults/FaultLedger.h"
#include "tests/faults/FaultSession.h"

namespace {

using namespace faulttest;

enum class During { Idle, Read, Write };

struct RebootCase {
    const char* what;
    During during;
    const char* fault;                 // the command the unit restarts instead of carrying out
    bool afterSettingTimeout = false;  // the unit left its setting mode on its own first
};

TEST(Reboot, TheFramePromptsLogsInAgainAndTrustsNothingUnfinished) {
    const RebootCase cases[] = {
        {"while idle", During::Idle, nullptr},
        {"instead of a read", During::Read, "reboot@AT+SHOW/1"},
        {"instead of a write", During::Write, "reboot@AT+IPAD/1"},
        {"after the setting time-out", During::Idle, nullptr, true},
    };
    const std::string address = "198.51.100.9";
    for (const RebootCase& c : cases) {
        SCOPED_TRACE(c.what);
        Scenario row(c.what);
        sim::UnitOptions options = ConfigurationUnit();
        options.promptWindow = std::chrono::seconds(2);
        if (c.afterSettingTimeout) options.inactivityTimeout = std::chrono::seconds(3);
        Session s(options);
        ASSERT_TRUE(s.ready) << s.error;
        if (c.afterSettingTimeout) {
            // Its time-out text stays handled: the next prompt is answered all the same.
            ASSERT_TRUE(WaitUntil(
                [&] {
                    return s.frame.log.find("Seting Timeout and quit") != std::string::npos &&
                           !s.frame.loggedIn;
                },
                6000))
                << Tail(s.frame.log);
        }
        const std::string ipBefore = *s.host.StoredValue("AT+IPAD");
        const auto entriesBefore = s.host.Counters().configEntries;
        const std::size_t blocksBefore = s.frame.promptPeriods.size();
        const std::size_t from = s.frame.log.size();
        const int idle = s.frame.idleNotices;
        if (c.fault) {
            ASSERT_TRUE(s.AddFault(c.fault)) << s.error;
        }
        switch (c.during) {
            case During::Idle:
                s.host.Reboot();
                break;
            case During::Read:
                s.Click("Load");
                break;
            case During::Write:
                s.Control("Server's Ip")->SetText(address);
                s.Click("Save");
                break;
        }
        // The unit prompts, the frame answers it, and the unit is in setting mode again.
        ASSERT_TRUE(WaitUntil(
            [&] {
                return s.host.Counters().configEntries > entriesBefore &&
                       s.host.Mode() == sim::UnitMode::Configuration && s.frame.loggedIn &&
                       s.frame.TimerInterval(kPromptTimer) == -1;
            },
            6000))
            << Tail(s.frame.log.substr(from));
        EXPECT_EQ(s.host.Counters().reboots, 1u);
        EXPECT_GT(s.host.Counters().prompts, 0u);
        const auto periods = std::vector<int>(
            s.frame.promptPeriods.begin() + static_cast<std::ptrdiff_t>(blocksBefore),
            s.frame.promptPeriods.end());
        EXPECT_NE(std::find(periods.begin(), periods.end(), 500), periods.end())
            << "the frame went back to answering the prompt";

        // What was on the line when the unit went down ends by its time-out.
        if (c.during != During::Idle) {
            ASSERT_TRUE(s.ExpireWaitsUntil([&] { return s.frame.idleNotices > idle; }));
        }
        const int timeouts =
            Occurrences(s.frame.log.substr(from), Label("WorkerJobThreadProc", "OutTime"));
        EXPECT_EQ(timeouts, c.during == During::Idle ? 0 : 1);
        EXPECT_EQ(
            Occurrences(s.frame.log.substr(from), Label("WorkerJobThreadProc", "SaveSuccess")), 0);
        EXPECT_EQ(s.frame.parsedListings, 1);
        EXPECT_EQ(s.Values(), s.readValues);
        EXPECT_EQ(*s.host.StoredValue("AT+IPAD"), ipBefore);
        row.Audit(s, {"AT+IPAD"});

        // The session goes on: the write is made again and a read shows the unit as it is.
        const std::size_t again = s.frame.log.size();
        if (c.during == During::Write) {
            ASSERT_TRUE(s.Settle([&] { s.Click("Save"); })) << Tail(s.frame.log.substr(again));
            EXPECT_EQ(*s.host.StoredValue("AT+IPAD"), address);
        }
        ASSERT_TRUE(s.Read()) << Tail(s.frame.log.substr(again));
        EXPECT_EQ(ValuesDifferingFromUnit(s), std::vector<std::string>{});
        row.Audit(s, {}, again);
    }
}

}  // namespace
