// The worker and its job steps: time-outs on the engine clock, the listing threshold, the
// result handling, the quiet line before a command, and stopping.
#include "engine/Worker.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <chrono>
#include <string>

#include "app/JobResults.h"
#include "engine/Clock.h"
#include "engine/FrameTimers.h"
#include "engine/JobSteps.h"
#include "engine/JobWrite.h"
#include "engine/ReceivePath.h"
#include "tests/frame/EngineTestSupport.h"

namespace {

using namespace std::chrono_literals;
using enginetest::Feed;
using enginetest::Message;
using enginetest::RecordingFrame;
using enginetest::WaitUntil;

bool Logged(const RecordingFrame& frame, const std::string& text) {
    return frame.log.find(text) != std::string::npos;
}

struct TimeoutCase {
    JobType type;
    const char* command;
    int factor;
    std::chrono::milliseconds timeout;
};

TEST(Worker, TimeoutIsTheBaseTimesTheFactor) {
    const TimeoutCase cases[] = {
        {JobType::GetVersion, "At+VER\r\n", 8, 40000ms},
        {JobType::ReadFileLog, "at+READFILELOG\r\n", 1, 24000ms},
        {JobType::ReadAll, "\r\nAT+SHOW\r\n", 2, 48000ms},
    };
    const std::string outTime = std::string(enginetest::kOutTimeLabel) + "\r\n";
    for (const TimeoutCase& c : cases) {
        SCOPED_TRACE(c.command);
        FakeClock clock;
        ScopedEngineClock useClock(&clock);
        sim::VirtualUnitHost host(enginetest::SettingModeUnit());
        RecordingFrame frame;
        ASSERT_TRUE(enginetest::OpenOnSilentUnit(frame, host));
        frame.timeoutFactor = c.factor;
        ASSERT_TRUE(frame.StartWorker());
        frame.jobQueue.PushJob({c.type, c.command, {}, {}});
        // The command is written and nothing answers.
        ASSERT_TRUE(WaitUntil([&] { return clock.Subscribers() == 1; }, 3000));
        clock.Advance(c.timeout - 1ms);
        enginetest::RunEventsFor(50);
        EXPECT_FALSE(Logged(frame, outTime));
        EXPECT_EQ(clock.Subscribers(), 1);
        clock.Advance(1ms);
        EXPECT_TRUE(WaitUntil([&] { return Logged(frame, outTime); }, 2000)) << frame.log;
        EXPECT_EQ(frame.pendingJobType, c.type);
    }
}

TEST(Worker, OnlyAListingLongerThan3000CharactersIsParsed) {
    const struct {
        int length;
        std::size_t parsed;
    } cases[] = {{3000, 0}, {3001, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        sim::VirtualUnitHost host(enginetest::SettingModeUnit());
        RecordingFrame frame;
        ASSERT_TRUE(enginetest::OpenOnSilentUnit(frame, host));
        ASSERT_TRUE(frame.StartWorker());
        frame.jobQueue.PushJob({JobType::ReadAll, "\r\nAT+SHOW\r\n", {}, {}});
        frame.jobQueue.PushJob({JobType::GetVersion, "At+VER\r\n", {}, {}});
        ASSERT_TRUE(WaitUntil([&] { return frame.pendingJobType == JobType::ReadAll; }, 3000));
        const std::string head = "\r\nAccess Point Name:CMNET\r\n";
        const std::string tail = "\r\nOK\r\n";
        std::string listing = head + std::string(c.length - head.size() - tail.size(), 'x') + tail;
        for (std::size_t at = 0; at < listing.size(); at += 1000)
            Feed(frame, listing.substr(at, 1000));
        // The next job has started once the listing's result was handled.
        ASSERT_TRUE(WaitUntil([&] { return frame.pendingJobType == JobType::GetVersion; }, 3000));
        EXPECT_EQ(frame.parsed.size(), c.parsed);
        if (c.parsed) {
            EXPECT_EQ(frame.parsed[0], listing);
        }
    }
}

struct ResultCase {
    const char* what;
    JobType type;
    const char* key;
    const char* received;
    std::string logged;
    const char* storedAfter;
};

TEST(Worker, HandlesEachResultByItsType) {
    // A write's line names what it wrote.
    const std::string saved = std::string(enginetest::kSaveSuccessLabel) + "\r\n";
    const std::string savedIp = "Server's Ip: " + saved;
    const std::string refused = "Server's Ip: " + std::string(enginetest::kSaveErrorLabel) + "\r\n";
    const std::string restored = std::string(enginetest::kFactorySuccessLabel) + "\r\n";
    const std::string notRestored = std::string(enginetest::kFactoryErrorLabel) + "\r\n";
    const char* const ip = "Server's Ip";
    // clang-format off
    const ResultCase cases[] = {
        {"write confirmed", JobType::WriteParameter, ip, "\r\nOK\r\n", savedIp, "10.0.0.7"},
        {"write refused", JobType::WriteParameter, ip, "\r\nERROR\r\n", refused, "1.1.1.1"},
        {"write answered both ways", JobType::WriteParameter, ip, "\r\nOK\r\n\r\nERROR\r\n", refused,
         "1.1.1.1"},
        {"write refused by a CME line", JobType::WriteParameter, ip, "\r\n+CME ERROR: 3\r\n", refused,
         "1.1.1.1"},
        {"OK still without its line end", JobType::WriteParameter, ip, "\r\nOK", "", "1.1.1.1"},
        {"SetTime confirmed: nothing stored", JobType::WriteParameter, "", "\r\nOK\r\n", saved, "1.1.1.1"},
        {"factory restored", JobType::RestoreFactory, "", "\r\nOK\r\n", restored, "1.1.1.1"},
        {"factory refused", JobType::RestoreFactory, "", "\r\nERROR\r\n", notRestored, "1.1.1.1"},
        {"version answer: nothing more", JobType::GetVersion, "", "\r\n+VER: X\r\n\r\nOK\r\n", "",
         "1.1.1.1"},
    };
    // clang-format on
    RecordingFrame frame;
    ASSERT_TRUE(frame.Open());
    for (const ResultCase& c : cases) {
        SCOPED_TRACE(c.what);
        frame.parameterTable.SetValue("Server's Ip", "1.1.1.1");
        ClearReceived(frame);
        frame.pendingJobType = JobType::None;
        Feed(frame, c.received);
        QCoreApplication::processEvents();
        frame.log.clear();
        HandleJobResult(frame, {c.type, "", c.key, *c.key ? "10.0.0.7" : ""});
        QCoreApplication::processEvents();
        EXPECT_EQ(frame.log, c.logged);
        EXPECT_EQ(frame.parameterTable.FindParameter(ip)->value, c.storedAfter);
        EXPECT_EQ(frame.parameterTable.FindParameter(""), nullptr);
    }
}

struct QuietCase {
    const char* what;
    JobType pendingMeanwhile;  // Settling: the receive path left it alone
    const char* arrived;
    bool armed;
    JobType pendingAfter;
};

TEST(Worker, ArmsAJobOnlyOnAQuietLine) {
    const QuietCase cases[] = {
        {"nothing arrived", JobType::Settling, "", true, JobType::GetVersion},
        {"a late OK arrived: thrown away", JobType::Settling, "\r\nOK\r\n", false,
         JobType::Settling},
        {"a prompt arrived: prompting stops", JobType::Settling, "Press 's' key\r\n", false,
         JobType::Settling},
        {"a login awaits its greeting: left alone", JobType::EnterConfig, "", false,
         JobType::EnterConfig},
    };
    RecordingFrame frame;
    ASSERT_TRUE(frame.Open());
    for (const QuietCase& c : cases) {
        SCOPED_TRACE(c.what);
        StartPromptTimer(frame, 300);
        frame.rxLength = 3;
        PrepareJobStart(frame);
        EXPECT_EQ(frame.TimerInterval(kPromptTimer), -1);
        EXPECT_EQ(frame.rxLength, 0);
        frame.pendingJobType = c.pendingMeanwhile;
        Feed(frame, c.arrived);
        EXPECT_FALSE(frame.answerEvent.IsSet());
        EXPECT_EQ(ArmJobWhenQuiet(frame, JobType::GetVersion), c.armed);
        EXPECT_EQ(frame.pendingJobType, c.pendingAfter);
        if (c.pendingAfter != JobType::EnterConfig) {
            EXPECT_EQ(frame.rxLength, 0);
            EXPECT_EQ(frame.TimerInterval(kPromptTimer), -1);
        }
    }
}

struct WriteStepCase {
    const char* what;
    JobType pending;  // the pending kind when the job asks for the line
    const char* arrived;
    bool force;
    bool loginMayWait;
    bool portOpen;
    WriteStep step;
    JobType pendingAfter;
    const char* logged;  // the label the line starts with; null: nothing logged
};

TEST(Worker, WritesACommandOnlyOnALineThatIsTheJobs) {
    using enginetest::kNotSentLabel;
    using enginetest::kSendLabel;
    // clang-format off
    const WriteStepCase cases[] = {
        {"quiet line", JobType::Settling, "", false, true, true, WriteStep::Written, JobType::GetVersion, kSendLabel},
        {"text arrived", JobType::Settling, "\r\nOK\r\n", false, true, true, WriteStep::LineBusy, JobType::Settling,
         nullptr},
        {"forced over text", JobType::Settling, "\r\nOK\r\n", true, true, true, WriteStep::Written,
         JobType::GetVersion, kSendLabel},
        {"a Login awaits its greeting", JobType::EnterConfig, "", true, true, true, WriteStep::LoginPending,
         JobType::EnterConfig, nullptr},
        {"the Login had its time", JobType::EnterConfig, "", false, false, true, WriteStep::Written,
         JobType::GetVersion, kSendLabel},
        {"the port takes nothing", JobType::Settling, "", false, true, false, WriteStep::NotSent, JobType::None,
         kNotSentLabel},
    };
    // clang-format on
    const CommandJob job{JobType::GetVersion, "At+VER\r\n", {}, {}};
    for (const WriteStepCase& c : cases) {
        SCOPED_TRACE(c.what);
        sim::VirtualUnitHost host(enginetest::SettingModeUnit());
        RecordingFrame frame;
        ASSERT_TRUE(enginetest::OpenOnSilentUnit(frame, host));
        if (!c.portOpen) frame.serialPort.Close();
        frame.pendingJobType = c.pending;
        Feed(frame, c.arrived);
        frame.pendingJobType = c.pending;
        QCoreApplication::processEvents();
        frame.log.clear();
        EXPECT_EQ(ArmAndWrite(frame, job, c.force, c.loginMayWait), c.step);
        EXPECT_EQ(frame.pendingJobType, c.pendingAfter);
        QCoreApplication::processEvents();
        const bool written = c.step == WriteStep::Written;
        EXPECT_EQ(frame.log, c.logged ? std::string(c.logged) + ":" + job.command : "");
        if (written) {
            EXPECT_EQ(frame.rxLength, 0) << "armed with an empty buffer";
        }
        const bool received =
            WaitUntil([&] { return !host.ReceivedCommands().empty(); }, written ? 3000 : 200);
        EXPECT_EQ(received, written);
    }
}

TEST(Worker, TheGraceEndsWithTheLateAnswerOrWithNothingPending) {
    const struct {
        const char* what;
        bool answered;
        JobType pending;
        bool late;
        JobType pendingAfter;
    } cases[] = {
        {"answered within the grace", true, JobType::None, true, JobType::None},
        {"no answer: nothing pending", false, JobType::GetVersion, false, JobType::None},
        {"the unit restarted meanwhile", false, JobType::AwaitPrompt, false, JobType::AwaitPrompt},
    };
    RecordingFrame frame;
    ASSERT_TRUE(frame.Open());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        frame.answerEvent.Reset();
        if (c.answered) frame.answerEvent.Set();
        frame.pendingJobType = c.pending;
        frame.jobOnLine = CommandJob{JobType::GetVersion, "At+VER\r\n", {}, {}};
        EXPECT_EQ(EndGrace(frame, JobType::GetVersion), c.late);
        EXPECT_EQ(frame.pendingJobType, c.pendingAfter);
        // After the grace a late OK completes nothing.
        Feed(frame, "\r\nOK\r\n");
        EXPECT_EQ(frame.answerEvent.IsSet(), c.answered);
    }
}

// The window's send gate, which a stop closes: a worker started again works, and a job whose
// calls the window refuses is dropped, not written once the window takes calls again.
TEST(Worker, RunsAfterARestartAndDropsAJobTheWindowRefused) {
    struct GateFrame : RecordingFrame {
        using CWindowWnd::CloseSendGate;
        using CWindowWnd::ReopenSendGate;
    };
    const struct {
        const char* what;
        bool restart;
    } cases[] = {{"stopped and started again", true}, {"calls refused for a while", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        sim::VirtualUnitHost host(enginetest::SettingModeUnit());
        GateFrame frame;
        ASSERT_TRUE(enginetest::OpenOnSilentUnit(frame, host));
        ASSERT_TRUE(frame.StartWorker());
        if (c.restart) {
            frame.StopWorker();
            ASSERT_TRUE(frame.StartWorker());
        } else {
            frame.CloseSendGate();
            frame.jobQueue.PushJob({JobType::GetVersion, "At+VER\r\n", {}, {}});
            enginetest::RunEventsFor(300);
            frame.ReopenSendGate();
            enginetest::RunEventsFor(1500);
        }
        frame.jobQueue.PushJob({JobType::QueryPin, "\r\nAt+CPIN?\r\n", {}, {}});
        EXPECT_TRUE(WaitUntil([&] { return !host.ReceivedCommands().empty(); }, 3000));
        EXPECT_EQ(host.ReceivedCommands(), std::vector<std::string>{"At+CPIN?"});
    }
}

TEST(Worker, StopsAtOnceWhileWaitingForAnAnswer) {
    sim::VirtualUnitHost host(enginetest::SettingModeUnit());
    RecordingFrame frame;
    ASSERT_TRUE(enginetest::OpenOnSilentUnit(frame, host));
    ASSERT_TRUE(frame.StartWorker());
    frame.jobQueue.PushJob({JobType::ReadAll, "\r\nAT+SHOW\r\n", {}, {}});
    ASSERT_TRUE(WaitUntil([&] { return frame.pendingJobType == JobType::ReadAll; }, 3000));
    enginetest::RunEventsFor(50);
    const auto before = std::chrono::steady_clock::now();
    frame.StopWorker();
    // A worker that waited for its answer would take the listing's 24 s time-out.
    EXPECT_LT(std::chrono::steady_clock::now() - before, 5s);
    EXPECT_FALSE(frame.HasWorker());
}

}  // namespace
