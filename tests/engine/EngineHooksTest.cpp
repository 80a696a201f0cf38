// The job steps on the engine alone: what they ask of the application goes through the hooks,
// recorded here, with no form and no frame behind them.
#include "engine/EngineHooks.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <string>
#include <utility>
#include <vector>

#include "engine/JobEnd.h"
#include "engine/JobSteps.h"
#include "engine/JobWrite.h"
#include "tests/support/RecordingEngineWindow.h"

namespace {

using enginetest::RecordingEngineWindow;

const CommandJob kWrite{JobType::WriteParameter, "AT+APN=web\r\n", "Access Point Name", "web"};

struct WriteCase {
    const char* what;
    bool hooked;
    bool hookLetsGo;
    int hookCalls;
    bool writeTried;  // the port was asked to take it, and said no
};

TEST(EngineHooks, CommandGoesToThePortOnlyWhenBeforeWriteLetsIt) {
    // clang-format off
    const WriteCase cases[] = {
        {"no hook: the engine alone writes", false, false, 0, true},
        {"the hook lets it go",              true,  true,  1, true},
        {"the hook stops it",                true,  false, 1, false},
    };
    // clang-format on
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingEngineWindow window;
        ASSERT_TRUE(window.Open());
        int calls = 0;
        if (c.hooked) {
            window.hooks.beforeWrite = [&](const CommandJob& job) {
                ++calls;
                EXPECT_EQ(job.command, kWrite.command);
                return c.hookLetsGo;
            };
        }
        // The port is closed: a write tried is logged as not sent; a write stopped is not.
        EXPECT_EQ(ArmAndWrite(window, kWrite, true, false), WriteStep::NotSent);
        QCoreApplication::processEvents();
        EXPECT_EQ(calls, c.hookCalls);
        EXPECT_EQ(window.log.find(kWrite.command) != std::string::npos, c.writeTried);
        EXPECT_EQ(window.pendingJobType, JobType::None);
        EXPECT_FALSE(window.jobOnLine);
    }
}

TEST(EngineHooks, ResultLineNamesTheParameterAsTheHookDoes) {
    RecordingEngineWindow window;
    const CommandJob query{JobType::GetVersion, "AT+VER\r\n", "", ""};
    const std::string label = JobResultLine(window, query, "SaveSuccess");
    EXPECT_EQ(JobResultLine(window, kWrite, "SaveSuccess"), "Access Point Name: " + label);
    window.hooks.parameterLabel = [](const std::string& key) { return "APN (" + key + ")"; };
    EXPECT_EQ(JobResultLine(window, kWrite, "SaveSuccess"), "APN (Access Point Name): " + label);
    // A write without a parameter (the clock) goes by its command word, whatever the hook says.
    const CommandJob clock{JobType::WriteParameter, "AT+CLK=20260101\r\n", "", ""};
    EXPECT_EQ(JobResultLine(window, clock, "SaveSuccess"), "AT+CLK: " + label);
}

struct LostLineCase {
    const char* what;
    JobType onLine;  // None: nothing on the line
    bool answered;   // its complete answer is in
    int queued;
    std::vector<JobOutcome> told;
};

TEST(EngineHooks, PortGoingTellsEveryJobItEndsOnce) {
    // clang-format off
    const LostLineCase cases[] = {
        {"a write awaiting its answer and two queued", JobType::WriteParameter, false, 2,
         {JobOutcome::PortLost, JobOutcome::NotSent, JobOutcome::NotSent}},
        {"answered already: the worker ends it",       JobType::WriteParameter, true,  1,
         {JobOutcome::NotSent}},
        {"the worker's own probe is nobody's job",     JobType::Resync,         false, 0, {}},
        {"nothing on the line",                        JobType::None,           false, 1,
         {JobOutcome::NotSent}},
    };
    // clang-format on
    for (const LostLineCase& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingEngineWindow window;
        std::vector<JobOutcome> told;
        window.hooks.jobEnded = [&](const CommandJob&, JobOutcome outcome) {
            told.push_back(outcome);
        };
        if (c.onLine != JobType::None) window.jobOnLine = CommandJob{c.onLine, "AT\r\n", "", ""};
        if (c.answered) window.answerEvent.Set();
        for (int i = 0; i < c.queued; ++i) window.jobQueue.PushJob(kWrite);
        EndJobsOfLostLine(window);
        EXPECT_EQ(told, c.told);
        EXPECT_EQ(window.jobQueue.Size(), 0u);
    }
}

}  // namespace
