// Every job kind against the unit's answers: in time, refused, late within the grace, later
// than the grace, never sent. Each outcome is its own command's, and a refusal or a missing
// answer stores, applies and reports as done nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "engine/JobTypes.h"
#include "engine/Worker.h"
#include "form/WriteReview.h"
#include "tests/faults/FaultLedger.h"
#include "tests/faults/FaultSession.h"
#include "tests/support/TestPaths.h"

namespace {

using namespace faulttest;
using namespace std::chrono_literals;

constexpr const char* kSection = "WorkerJobThreadProc";

struct Kind {
    const char* what;
    CommandJob job;
    const char* word;        // the unit's command word the faults name
    const char* refusalKey;  // the label a refusal is logged with
};

// clang-format off
const Kind kKinds[] = {
    {"read", {JobType::ReadAll, "\r\nAT+SHOW\r\n", {}, {}}, "AT+SHOW", "CommandError"},
    {"write", {JobType::WriteParameter, "AT+IPAD=198.51.100.31\r\n", "Server's Ip", "198.51.100.31"},
     "AT+IPAD", "SaveError"},
    {"set time", {JobType::WriteParameter, "AT+EXCCLK=\"2026/01/02,03:04:05\",8\r\n", {}, {}}, "AT+EXCCLK",
     "SaveError"},
    {"factory", {JobType::RestoreFactory, "\r\nAT+FACTORY\r\n", {}, {}}, "AT+FACTORY", "FactoryError"},
    {"read for a file", {JobType::ReadForSave, "\r\nAT+SHOW\r\n", {}, {}}, "AT+SHOW", "CommandError"},
    {"read to apply a file", {JobType::ReadForApply, "\r\nAT+SHOW\r\n", {}, {}}, "AT+SHOW", "CommandError"},
    {"network mode", {JobType::FindNetMode, "AT+FINDNETMODE\r\n", {}, {}}, "AT+FINDNETMODE", "CommandError"},
    {"version", {JobType::GetVersion, "At+VER\r\n", {}, {}}, "AT+VER", "CommandError"},
    {"PIN", {JobType::QueryPin, "\r\nAt+CPIN?\r\n", {}, {}}, "AT+CPIN", "CommandError"},
    {"signal", {JobType::QuerySignal, "At+CSQ\r\n", {}, {}}, "AT+CSQ", "CommandError"},
    {"signal retry", {JobType::QuerySignalRetry, "At+CSQ\r\n", {}, {}}, "AT+CSQ", "CommandError"},
    {"file log", {JobType::ReadFileLog, "at+READFILELOG\r\n", {}, {}}, "AT+READFILELOG", "CommandError"},
    {"raw command", {JobType::RawCommand, "AT+LIST\r\n", {}, {}}, "AT+LIST", "CommandError"},
    // Last: once it is done the unit has left its setting mode.
    {"quit", {JobType::Quit, "\r\nat+quit\r\n", {}, {}}, "AT+QUIT", "CommandError"},
};
// clang-format on

// A write the unit refuses, queued behind a kind whose answer comes too late.
const CommandJob kRefusedWrite{JobType::WriteParameter, "AT+APN=after.example\r\n",
                               "Access Point Name", "after.example"};

// The command as the unit records it: without its line ends.
std::string OnTheLine(std::string command) {
    std::erase(command, '\r');
    std::erase(command, '\n');
    return command;
}

std::string Name(const Kind& kind, const char* suffix) {
    return std::string(kind.what) + ": " + suffix;
}

// The first job with this command that finished at or after index from.
const FaultFrame::Finished* FinishedJob(Session& s, const std::string& command, std::size_t from) {
    for (std::size_t i = from; i < s.frame.finished.size(); ++i) {
        if (s.frame.finished[i].command == command) return &s.frame.finished[i];
    }
    return nullptr;
}

// When text had arrived whole in the log blocks from index from on.
std::optional<SteadyTime> ArrivalOf(Session& s, const std::string& text, std::size_t from) {
    std::string arrived;
    for (std::size_t i = from; i < s.frame.logBlocks.size(); ++i) {
        arrived += s.frame.logBlocks[i].text;
        if (arrived.find(text) != std::string::npos) return s.frame.logBlocks[i].at;
    }
    return std::nullopt;
}

bool AwaitFinished(Session& s, const std::string& command, std::size_t from, int ms = 8000) {
    return WaitUntil([&] { return FinishedJob(s, command, from) != nullptr; }, ms);
}

// Until the worker found the queue empty again (a kind may queue a follow-up).
bool AwaitIdle(Session& s, int idleBefore) {
    return WaitUntil([&] { return s.frame.idleNotices > idleBefore; }, 8000);
}

// Where each row starts: log, finished jobs, the unit's commands, the worker's idle notices.
struct Mark {
    explicit Mark(Session& s)
        : log(s.frame.log.size()),
          finished(s.frame.finished.size()),
          commands(s.host.ReceivedCommands().size()),
          idle(s.frame.idleNotices),
          parsed(s.frame.parsedListings),
          values(s.Values()) {}
    std::size_t log;
    std::size_t finished;
    std::size_t commands;
    int idle;
    int parsed;
    std::map<std::string, std::string> values;
};

// A file of this process's own: the kinds' tests run side by side in other processes.
std::string FilePath() {
    static const std::string path = testpaths::TempDir() + "/job_outcome.cfg";
    return path;
}

void AnsweredInTime(Session& s, const Kind& kind) {
    Scenario row(Name(kind, "answered in time"));
    const Mark mark(s);
    s.frame.jobQueue.PushJob(kind.job);
    ASSERT_TRUE(AwaitFinished(s, kind.job.command, mark.finished)) << Tail(s.frame.log);
    EXPECT_EQ(FinishedJob(s, kind.job.command, mark.finished)->outcome, JobOutcome::Ok);
    if (kind.job.type != JobType::Quit) {
        EXPECT_TRUE(AwaitIdle(s, mark.idle));
    }
    const std::string log = s.frame.log.substr(mark.log);
    EXPECT_EQ(Occurrences(log, SendPrefix() + kind.job.command), 1) << log;
    EXPECT_EQ(Occurrences(log, Label(kSection, "OutTime")), 0) << log;
    EXPECT_EQ(s.CommandsSince(mark.commands).front(), OnTheLine(kind.job.command));
    row.Audit(s, {}, mark.log);
}

void RefusedAtOnce(Session& s, const Kind& kind) {
    Scenario row(Name(kind, "refused"));
    ASSERT_TRUE(s.AddFault((std::string("error@") + kind.word + "/1").c_str())) << s.error;
    std::filesystem::remove(FilePath());
    const Mark mark(s);
    const std::size_t blocks = s.frame.logBlocks.size();
    s.frame.jobQueue.PushJob(kind.job);
    // No time passes on the engine clock: only the refusal can end the job.
    ASSERT_TRUE(AwaitFinished(s, kind.job.command, mark.finished)) << Tail(s.frame.log);
    const auto* job = FinishedJob(s, kind.job.command, mark.finished);
    EXPECT_EQ(job->outcome, JobOutcome::Error);
    const std::optional<SteadyTime> refused = ArrivalOf(s, "ERROR\r\n", blocks);
    ASSERT_TRUE(refused.has_value());
    EXPECT_LT(job->at - *refused, 1000ms) << "the job ended long after the refusal";
    if (kind.job.type != JobType::Quit) {
        EXPECT_TRUE(AwaitIdle(s, mark.idle));
    }

    const std::string log = s.frame.log.substr(mark.log);
    EXPECT_EQ(Occurrences(log, Label(kSection, kind.refusalKey)), 1) << log;
    // Nothing stored, parsed, saved to a file or applied; still logged in.
    EXPECT_EQ(s.Values(), mark.values);
    EXPECT_EQ(s.frame.parsedListings, mark.parsed);
    EXPECT_FALSE(std::filesystem::exists(FilePath()));
    EXPECT_TRUE(s.frame.loggedIn);
    // A refused signal query is asked once more; nothing else follows a refusal.
    const std::vector<std::string> expected =
        kind.job.type == JobType::QuerySignal
            ? std::vector<std::string>{OnTheLine(kind.job.command), OnTheLine(kind.job.command)}
            : std::vector<std::string>{OnTheLine(kind.job.command)};
    EXPECT_EQ(s.CommandsSince(mark.commands), expected);
    row.Audit(s, {kind.word}, mark.log);
}

void LateWithinTheGrace(Session& s, const Kind& kind) {
    Scenario row(Name(kind, "answered within the grace"));
    ASSERT_TRUE(s.AddFault((std::string("delay=600@") + kind.word + "/1").c_str())) << s.error;
    const Mark mark(s);
    s.frame.jobQueue.PushJob(kind.job);
    ASSERT_TRUE(s.TimeOutWhenSent(OnTheLine(kind.job.command), JobTimeout(kind.job.type, 1)));
    ASSERT_TRUE(AwaitFinished(s, kind.job.command, mark.finished)) << Tail(s.frame.log);
    EXPECT_EQ(FinishedJob(s, kind.job.command, mark.finished)->outcome, JobOutcome::Ok);
    if (kind.job.type != JobType::Quit) {
        EXPECT_TRUE(AwaitIdle(s, mark.idle));
    }

    const std::string log = s.frame.log.substr(mark.log);
    const std::size_t timedOut = log.find(Label(kSection, "OutTime"));
    ASSERT_NE(timedOut, std::string::npos) << log;
    EXPECT_NE(log.find(Label(kSection, "LateAnswer"), timedOut), std::string::npos) << log;
    if (!kind.job.key.empty()) {
        EXPECT_EQ(s.frame.parameterTable.FindParameter(kind.job.key)->value, kind.job.value);
        EXPECT_EQ(Occurrences(log, Label(kSection, "LateAnswer") + " " +
                                       FormLabelOf(s.frame, kind.job.key) + ": " +
                                       Label(kSection, "SaveSuccess")),
                  1)
            << log;
    }
    if (kind.job.type == JobType::ReadAll) {
        EXPECT_EQ(s.frame.parsedListings, mark.parsed + 1);
    }
    row.Audit(s, {}, mark.log);
}

// The late answer comes after the grace, right in front of the refused write's own ERROR.
void LaterThanTheGrace(Session& s, const Kind& kind) {
    Scenario row(Name(kind, "answered after the grace"));
    ASSERT_TRUE(s.AddFault((std::string("delay=1500@") + kind.word + "/1").c_str())) << s.error;
    ASSERT_TRUE(s.AddFault("error@AT+APN/1")) << s.error;
    const Mark mark(s);
    const std::string apnBefore = *s.host.StoredValue("AT+APN");
    s.frame.jobQueue.PushJob(kind.job);
    s.frame.jobQueue.PushJob(kRefusedWrite);
    ASSERT_TRUE(s.TimeOutWhenSent(OnTheLine(kind.job.command), JobTimeout(kind.job.type, 1)));
    ASSERT_TRUE(WaitUntil(
        [&] {
            return s.frame.log.find(Label(kSection, "OutTime"), mark.log) != std::string::npos &&
                   s.clock.Subscribers() > 0;
        },
        3000));
    s.clock.Advance(kLateAnswerGrace);
    ASSERT_TRUE(AwaitFinished(s, kRefusedWrite.command, mark.finished)) << Tail(s.frame.log);
    EXPECT_TRUE(AwaitIdle(s, mark.idle));
    EXPECT_EQ(FinishedJob(s, kind.job.command, mark.finished)->outcome, JobOutcome::Timeout);
    EXPECT_EQ(FinishedJob(s, kRefusedWrite.command, mark.finished)->outcome, JobOutcome::Error);

    const std::string log = s.frame.log.substr(mark.log);
    const std::size_t write = log.find(SendPrefix() + kRefusedWrite.command);
    ASSERT_NE(write, std::string::npos) << log;
    // The late answer is logged; after the grace it completes nothing.
    EXPECT_NE(log.find("\r\nOK\r\n", log.find(Label(kSection, "OutTime"))), std::string::npos)
        << log;
    EXPECT_EQ(Occurrences(log, Label(kSection, "LateAnswer")), 0) << log;
    // The refusal the write was judged by is in the log, once, with its label.
    EXPECT_EQ(Occurrences(log.substr(write), "\r\nERROR\r\n"), 1) << log;
    EXPECT_EQ(Occurrences(log.substr(write), Label(kSection, "SaveError")), 1) << log;
    EXPECT_EQ(Occurrences(log.substr(write), Label(kSection, "SaveSuccess")), 0) << log;
    EXPECT_EQ(s.frame.parameterTable.FindParameter(kRefusedWrite.key)->value, apnBefore);
    EXPECT_EQ(*s.host.StoredValue("AT+APN"), apnBefore);
    row.Audit(s, {kind.word, "AT+APN"}, mark.log);
}

void NeverSent(Session& s, const Kind& kind) {
    Scenario row(Name(kind, "not sent"));
    const Mark mark(s);
    s.frame.jobQueue.PushJob(kind.job);
    // No time passes on the engine clock: the job must end without waiting for an answer.
    ASSERT_TRUE(AwaitFinished(s, kind.job.command, mark.finished, 3000)) << Tail(s.frame.log);
    EXPECT_EQ(FinishedJob(s, kind.job.command, mark.finished)->outcome, JobOutcome::NotSent);
    std::string log = s.frame.log.substr(mark.log);
    // The session's first write backs the unit up before it goes out, and says so.
    if (log.starts_with(Label("Backup", "Saved"))) log.erase(0, log.find("\r\n") + 2);
    EXPECT_EQ(log, Label(kSection, "NotSent") + ":" + kind.job.command);
    EXPECT_EQ(s.CommandsSince(mark.commands), std::vector<std::string>{});
    EXPECT_EQ(s.Values(), mark.values);
    row.Audit(s, {}, mark.log);
}

// One session per case; the kinds run one after the other on it.
void ForEachKind(void (*run)(Session&, const Kind&), bool withQuit = true) {
    Session s;
    ASSERT_TRUE(s.ready) << s.error;
    s.frame.configFilePath = FilePath();
    for (const Kind& kind : kKinds) {
        if (kind.job.type == JobType::Quit && !withQuit) continue;
        SCOPED_TRACE(kind.what);
        run(s, kind);
    }
    std::filesystem::remove(FilePath());
}

TEST(JobOutcomes, AnAnswerInTimeCompletesEachKind) {
    ForEachKind(AnsweredInTime);
}

TEST(JobOutcomes, ARefusalEndsEachKindAtOnceAndChangesNothing) {
    ForEachKind(RefusedAtOnce);
}

TEST(JobOutcomes, AnAnswerWithinTheGraceCompletesTheTimedOutJob) {
    ForEachKind(LateWithinTheGrace);
}

// Not after a quit: the unit has left its setting mode, so the write behind it gets no answer
// of its own, and the quit's late OK, written after it, cannot be told from one.
TEST(JobOutcomes, AnAnswerAfterTheGraceIsNoOnesAndTheNextRefusalWins) {
    ForEachKind(LaterThanTheGrace, false);
}

TEST(JobOutcomes, ACommandThePortDidNotTakeEndsAtOnce) {
    Session s;
    ASSERT_TRUE(s.ready) << s.error;
    // The frame still takes the port for open; the driver takes no more bytes.
    s.frame.serialPort.Close();
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(kind.what);
        NeverSent(s, kind);
    }
}

struct LoginCase {
    const char* what;
    CommandJob waiting;  // the job that waits for a quiet line after a time-out
};

// The user logs in while the next job waits for a quiet line; the greeting comes slowly. The
// job leaves the line to the Login until it is answered.
TEST(JobOutcomes, ALoginDuringTheWaitForAQuietLineIsKept) {
    const LoginCase cases[] = {
        {"a write waits",
         {JobType::WriteParameter, "AT+IPAD=198.51.100.41\r\n", "Server's Ip", "198.51.100.41"}},
        {"a read waits", {JobType::ReadAll, "\r\nAT+SHOW\r\n", {}, {}}},
    };
    const CommandJob version{JobType::GetVersion, "At+VER\r\n", {}, {}};
    for (const LoginCase& c : cases) {
        SCOPED_TRACE(c.what);
        Scenario row(std::string("a Login while ") + c.what);
        Session s;
        ASSERT_TRUE(s.ready) << s.error;
        ASSERT_TRUE(s.AddFault("mute@AT+VER/1")) << s.error;
        ASSERT_TRUE(s.AddFault("delay=1500@+++/1")) << s.error;
        // The form shows the unit logged out, as after the quit button.
        s.frame.SendMessage(kMsgCommandState, 0, 0);
        ASSERT_FALSE(s.frame.loggedIn);
        const Mark mark(s);
        s.frame.jobQueue.PushJob(version);
        s.frame.jobQueue.PushJob(c.waiting);
        ASSERT_TRUE(s.TimeOutWhenSent("At+VER", JobTimeout(JobType::GetVersion, 1)));
        ASSERT_TRUE(WaitUntil(
            [&] {
                return s.frame.log.find(Label(kSection, "OutTime"), mark.log) !=
                           std::string::npos &&
                       s.clock.Subscribers() > 0;
            },
            3000));
        s.clock.Advance(kLateAnswerGrace);
        ASSERT_TRUE(WaitUntil([&] { return s.frame.pendingJobType == JobType::Settling; }, 3000));
        s.Click("Login");
        ASSERT_TRUE(AwaitFinished(s, c.waiting.command, mark.finished)) << Tail(s.frame.log);
        EXPECT_EQ(FinishedJob(s, c.waiting.command, mark.finished)->outcome, JobOutcome::Ok);
        EXPECT_TRUE(s.frame.loggedIn);
        const std::string log = s.frame.log.substr(mark.log);
        const std::size_t greeting = log.find("enter setting!");
        const std::size_t written = log.find(SendPrefix() + c.waiting.command);
        ASSERT_NE(greeting, std::string::npos) << log;
        EXPECT_LT(greeting, written) << log;
        if (c.waiting.type == JobType::ReadAll) {
            EXPECT_EQ(s.frame.parsedListings, mark.parsed + 1);
        }
        row.Audit(s, {}, mark.log);
    }
}

}  // namespace
