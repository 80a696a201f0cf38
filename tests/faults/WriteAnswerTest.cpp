// A write the unit refuses, never answers, or answers too late: the frame stores a value only
// for the write the unit confirmed, and logs each outcome once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "form/WriteReview.h"
#include "tests/faults/FaultLedger.h"
#include "tests/faults/FaultSession.h"

namespace {

using namespace faulttest;
using namespace std::chrono_literals;

constexpr const char* kResultSection = "WorkerJobThreadProc";
// Longer than the worker's wait for a late answer after a time-out.
constexpr auto kGracePassed = 3s;
constexpr const char* kResultKeys[] = {"SaveSuccess", "SaveError", "OutTime"};

// How often each result label was logged since `from`.
std::vector<int> ResultCounts(Session& s, std::size_t from) {
    std::vector<int> counts;
    for (const char* key : kResultKeys) {
        counts.push_back(Occurrences(s.frame.log.substr(from), Label(kResultSection, key)));
    }
    return counts;
}

std::vector<int> Once(const char* key) {
    std::vector<int> counts;
    for (const char* k : kResultKeys) counts.push_back(std::string(k) == key ? 1 : 0);
    return counts;
}

struct AnswerCase {
    const char* what;
    std::vector<const char*> faults;
    const char* answer;     // handed to the receive path once the write is on the line
    const char* resultKey;  // the one result label the write ends with
    bool unitStores;        // the unit carried the write out
};

TEST(WriteAnswers, OnlyAConfirmedWriteIsStored) {
    const AnswerCase cases[] = {
        {"refused with ERROR", {"error@AT+IPAD/1"}, nullptr, "SaveError", false},
        {"refused with +CME ERROR",
         {"error@AT+IPAD/1", "mute@AT+IPAD/1"},
         "\r\n+CME ERROR: 3\r\n",
         "SaveError",
         false},
        {"refused with +CMS ERROR",
         {"error@AT+IPAD/1", "mute@AT+IPAD/1"},
         "\r\n+CMS ERROR: 500\r\n",
         "SaveError",
         false},
        {"carried out but never answered", {"mute@AT+IPAD/1"}, nullptr, "OutTime", true},
        {"refused and never answered",
         {"error@AT+IPAD/1", "mute@AT+IPAD/1"},
         nullptr,
         "OutTime",
         false},
        {"OK in single bytes", {"split=20@AT+IPAD/1"}, nullptr, "SaveSuccess", true},
        {"ERROR in single bytes",
         {"error@AT+IPAD/1", "split=20@AT+IPAD/1"},
         nullptr,
         "SaveError",
         false},
    };
    const std::string address = "198.51.100.7";
    const std::string command = "AT+IPAD=" + address;
    for (const AnswerCase& c : cases) {
        SCOPED_TRACE(c.what);
        Scenario row(c.what);
        Session s;
        ASSERT_TRUE(s.ready) << s.error;
        const std::string before = *s.host.StoredValue("AT+IPAD");
        for (const char* fault : c.faults) ASSERT_TRUE(s.AddFault(fault)) << s.error;
        s.Control("Server's Ip")->SetText(address);
        const int idle = s.frame.idleNotices;
        const std::size_t from = s.frame.log.size();
        const std::size_t sent = s.host.ReceivedCommands().size();
        s.Click("Save");
        const auto idleAgain = [&] { return s.frame.idleNotices > idle; };
        if (c.answer) {
            ASSERT_TRUE(WaitUntil(
                [&] {
                    const auto received = s.host.ReceivedCommands();
                    return s.frame.pendingJobType == JobType::WriteParameter &&
                           received.back() == command;
                },
                3000));
            s.Feed(c.answer);
        }
        if (std::string(c.resultKey) == "OutTime") {
            ASSERT_TRUE(s.TimeOutWhenSent(command, 5s));
            ASSERT_TRUE(s.ExpireWaitsUntil(idleAgain)) << Tail(s.frame.log);
        } else {
            ASSERT_TRUE(WaitUntil(idleAgain, 5000)) << Tail(s.frame.log);
        }
        const bool confirmed = std::string(c.resultKey) == "SaveSuccess";
        // A confirmed write is followed by the read-back that checks it.
        std::vector<std::string> commands = {command};
        if (confirmed) commands.push_back("AT+SHOW");
        EXPECT_EQ(s.CommandsSince(sent), commands);
        EXPECT_EQ(ResultCounts(s, from), Once(c.resultKey));
        EXPECT_EQ(s.frame.parameterTable.FindParameter("Server's Ip")->value,
                  confirmed ? address : before);
        EXPECT_EQ(*s.host.StoredValue("AT+IPAD"), c.unitStores ? address : before);
        row.Audit(s, confirmed ? std::set<std::string>{} : std::set<std::string>{"AT+IPAD"});
        if (confirmed) continue;

        // The next save tries the same write again, and this time the unit takes it. After an
        // answer that never came, a probe goes first and its wait for that answer passes.
        const bool owed = std::string(c.resultKey) == "OutTime";
        const std::size_t retryFrom = s.frame.log.size();
        const std::size_t retrySent = s.host.ReceivedCommands().size();
        const int retryIdle = s.frame.idleNotices;
        s.Click("Save");
        if (owed) {
            // The probe's OK is the old write's late answer; once it is in, the probe's own
            // wait may pass (before it, the probe would have heard nothing).
            ASSERT_TRUE(WaitUntil(
                [&] {
                    const std::size_t at = s.frame.log.find("Send:AT\r\n", retryFrom);
                    return at != std::string::npos &&
                           s.frame.log.find("OK", at) != std::string::npos;
                },
                5000))
                << Tail(s.frame.log);
            ASSERT_TRUE(s.TimeOutWhenSent("AT", std::chrono::minutes(1))) << Tail(s.frame.log);
        }
        ASSERT_TRUE(WaitUntil([&] { return s.frame.idleNotices > retryIdle; }, 15000))
            << Tail(s.frame.log);
        // The confirmed write, then the read-back that checks it.
        std::vector<std::string> retried = {command, "AT+SHOW"};
        if (owed) retried.insert(retried.begin(), "AT");
        EXPECT_EQ(s.CommandsSince(retrySent), retried) << Tail(s.frame.log);
        EXPECT_EQ(ResultCounts(s, retryFrom), Once("SaveSuccess"));
        EXPECT_EQ(s.frame.parameterTable.FindParameter("Server's Ip")->value, address);
        EXPECT_EQ(*s.host.StoredValue("AT+IPAD"), address);
    }
}

struct LateCase {
    const char* what;
    std::vector<const char*> faults;
    const char* lateAnswer;
    bool secondAccepted;
};

// The first write's answer comes after its time-out, within the grace: it completes the first
// write, marked late; the second write is judged by its own.
TEST(WriteAnswers, ALateAnswerIsNotCreditedToTheNextWrite) {
    const LateCase cases[] = {
        {"a late OK, then a refused write",
         {"delay=600@AT+APN/1", "error@AT+IPAD/1"},
         "\r\nOK\r\n",
         false},
        {"a late ERROR, then an accepted write",
         {"delay=600@AT+APN/1", "error@AT+APN/1"},
         "\r\nERROR\r\n",
         true},
    };
    for (const LateCase& c : cases) {
        SCOPED_TRACE(c.what);
        Scenario row(c.what);
        Session s;
        ASSERT_TRUE(s.ready) << s.error;
        const std::string apnBefore = *s.host.StoredValue("AT+APN");
        const std::string ipBefore = *s.host.StoredValue("AT+IPAD");
        for (const char* fault : c.faults) ASSERT_TRUE(s.AddFault(fault)) << s.error;
        s.Control("Access Point Name")->SetText("late.example");
        s.Control("Server's Ip")->SetText("198.51.100.8");
        const int idle = s.frame.idleNotices;
        const std::size_t sent = s.host.ReceivedCommands().size();
        s.Click("Save");
        // The time-out passes before the delayed answer is on its way.
        ASSERT_TRUE(s.TimeOutWhenSent("AT+APN=late.example", 5s));
        ASSERT_TRUE(WaitUntil([&] { return s.frame.idleNotices > idle; }, 8000))
            << Tail(s.frame.log);

        // Either way one write was confirmed (the late one or the second), and the read-back
        // that checks it follows the run.
        const std::vector<std::string> commands = {"AT+APN=late.example", "AT+IPAD=198.51.100.8",
                                                   "AT+SHOW"};
        EXPECT_EQ(s.CommandsSince(sent), commands);
        const std::string& log = s.frame.log;
        const std::size_t first = log.find(SendPrefix() + "AT+APN=late.example");
        const std::size_t second = log.find(SendPrefix() + "AT+IPAD=198.51.100.8");
        ASSERT_NE(first, std::string::npos);
        ASSERT_NE(second, std::string::npos);
        const std::string firstPart = log.substr(first, second - first);
        const std::size_t timedOut = firstPart.find(Label(kResultSection, "OutTime"));
        ASSERT_NE(timedOut, std::string::npos) << firstPart;
        // The late answer arrived after the time-out and before the next command went out.
        EXPECT_NE(firstPart.find(c.lateAnswer, timedOut), std::string::npos) << firstPart;
        EXPECT_EQ(ResultCounts(s, first), (std::vector<int>{1, 1, 1}));
        const char* lateResult = c.secondAccepted ? "SaveError" : "SaveSuccess";
        EXPECT_EQ(Occurrences(firstPart, Label(kResultSection, "LateAnswer") + " " +
                                             FormLabelOf(s.frame, "Access Point Name") + ": " +
                                             Label(kResultSection, lateResult)),
                  1)
            << firstPart;

        const auto* apn = s.frame.parameterTable.FindParameter("Access Point Name");
        const auto* ip = s.frame.parameterTable.FindParameter("Server's Ip");
        EXPECT_EQ(apn->value, c.secondAccepted ? apnBefore : "late.example");
        EXPECT_EQ(ip->value, c.secondAccepted ? "198.51.100.8" : ipBefore);
        EXPECT_EQ(*s.host.StoredValue("AT+APN"), c.secondAccepted ? apnBefore : "late.example");
        EXPECT_EQ(*s.host.StoredValue("AT+IPAD"), c.secondAccepted ? "198.51.100.8" : ipBefore);
        row.Audit(s, c.secondAccepted ? std::set<std::string>{"AT+APN"}
                                      : std::set<std::string>{"AT+IPAD"});
    }
}

// Later than the grace and the settling: the probe written before the next write waits for the
// late OK, and the next write is judged by its own ERROR.
TEST(WriteAnswers, AnOkLaterThanTheGraceDoesNotConfirmARefusedWrite) {
    Scenario row("an OK later than the grace, then a refused write");
    Session s;
    ASSERT_TRUE(s.ready) << s.error;
    const std::string ipBefore = *s.host.StoredValue("AT+IPAD");
    ASSERT_TRUE(s.AddFault("delay=1500@AT+APN/1")) << s.error;
    ASSERT_TRUE(s.AddFault("error@AT+IPAD/1")) << s.error;
    s.Control("Access Point Name")->SetText("later.example");
    s.Control("Server's Ip")->SetText("198.51.100.18");
    const int idle = s.frame.idleNotices;
    const std::size_t from = s.frame.log.size();
    s.Click("Save");
    ASSERT_TRUE(s.TimeOutWhenSent("AT+APN=later.example", 5s));
    // The grace passes at once on the engine's clock (its wait begins after the time-out line).
    ASSERT_TRUE(WaitUntil(
        [&] {
            return s.frame.log.find(Label(kResultSection, "OutTime"), from) != std::string::npos &&
                   s.clock.Subscribers() > 0;
        },
        2000));
    s.clock.Advance(kGracePassed);
    ASSERT_TRUE(WaitUntil([&] { return s.frame.idleNotices > idle; }, 8000)) << Tail(s.frame.log);
    const std::string log = s.frame.log.substr(from);
    const std::size_t second = log.find(SendPrefix() + "AT+IPAD=198.51.100.18");
    ASSERT_NE(second, std::string::npos);
    const std::size_t probe = log.find(SendPrefix() + "AT\r\n");
    ASSERT_LT(probe, second) << log;
    EXPECT_LT(log.find("\r\nOK\r\n", probe), second) << "the late OK came before the write";
    EXPECT_EQ(ResultCounts(s, from), (std::vector<int>{0, 1, 1}));
    EXPECT_EQ(s.frame.parameterTable.FindParameter("Server's Ip")->value, ipBefore);
    EXPECT_EQ(*s.host.StoredValue("AT+IPAD"), ipBefore);
    row.Audit(s, {"AT+APN", "AT+IPAD"});
}

}  // namespace
