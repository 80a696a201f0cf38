// Every user action: the jobs it queues, the messages it posts, what it changes on the form.
#include "app/UserCommands.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <atomic>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "app/Progress.h"
#include "engine/FrameTimers.h"
#include "params/ValueCheck.h"
#include "tests/frame/EngineTestSupport.h"
#include "ui/Container.h"
#include "ui/Controls.h"

namespace {

using enginetest::Message;
using enginetest::RecordingDialogs;
using enginetest::RecordingFrame;

struct QueuedJob {
    JobType type;
    std::string command;
    bool operator==(const QueuedJob&) const = default;
};

std::vector<QueuedJob> TakeJobs(CM5Z30FrameWnd& frame) {
    std::vector<QueuedJob> jobs;
    CommandJob job;
    while (frame.jobQueue.PopJob(job)) jobs.push_back({job.type, job.command});
    return jobs;
}

// The messages the dispatch posted (the state messages and those the recording frame keeps).
std::vector<Message> Posted(RecordingFrame& frame) {
    QCoreApplication::processEvents();
    std::vector<Message> posted = frame.messages;
    frame.messages.clear();
    return posted;
}

struct ClickCase {
    const char* name;
    std::vector<QueuedJob> jobs;
    std::vector<Message> posted;
};

TEST(UserCommands, ButtonsQueueTheirCommands) {
    const ClickCase cases[] = {
        {"Load", {{JobType::ReadAll, "\r\nAT+SHOW\r\n"}}, {}},
        {"RestoreFactory", {{JobType::RestoreFactory, "\r\nAT+FACTORY\r\n"}}, {}},
        {"READFILELOG", {{JobType::ReadFileLog, "at+READFILELOG\r\n"}}, {}},
        {"CPIN", {{JobType::QueryPin, "\r\nAt+CPIN?\r\n"}}, {}},
        {"CSQ", {{JobType::QuerySignal, "At+CSQ\r\n"}}, {}},
        {"GetVer", {{JobType::GetVersion, "At+VER\r\n"}}, {}},
        {"AT+CGMR", {{JobType::RawCommand, "AT+CGMR\r\n"}}, {}},
        {"quit", {{JobType::Quit, "\r\nat+quit\r\n"}}, {{kMsgCommandState, 0, 0}}},
        {"SaveToFile", {}, {{kMsgSaveToFile, 0, 0}}},
        {"LoadFromFile", {}, {{kMsgLoadFromFile, 0, 0}}},
        {"minbtn", {}, {{WM_SYSCOMMAND, SC_MINIMIZE, 0}}},
        {"maxbtn", {}, {{WM_SYSCOMMAND, SC_MAXIMIZE, 0}}},
        {"restorebtn", {}, {{WM_SYSCOMMAND, SC_RESTORE, 0}}},
        {"Nothing", {}, {}},
    };
    // The factory restore asks first; the answer is OK.
    RecordingDialogs dialogs;
    ui::ScopedDialogs scopedDialogs{&dialogs};
    RecordingFrame frame;
    ASSERT_TRUE(frame.Open());
    Posted(frame);
    for (const ClickCase& c : cases) {
        SCOPED_TRACE(c.name);
        frame.Click(c.name);
        EXPECT_EQ(TakeJobs(frame), c.jobs);
        EXPECT_EQ(Posted(frame), c.posted);
    }
}

TEST(UserCommands, SetTimeWritesTheClockAsAParameterWithoutName) {
    RecordingFrame frame;
    ASSERT_TRUE(frame.Open());
    frame.Click("SetTime");
    CommandJob job;
    ASSERT_TRUE(frame.jobQueue.PopJob(job));
    EXPECT_EQ(job.type, JobType::WriteParameter);
    EXPECT_TRUE(std::regex_match(
        job.command, std::regex("AT\\+EXCCLK=\"\\d{4}/\\d{2}/\\d{2},\\d{2}:\\d{2}:\\d{2}\",5\r\n")))
        << job.command;
    EXPECT_EQ(job.key, "");
    EXPECT_EQ(job.value, "");
}

TEST(UserCommands, CloseButtonEndsTheMessageLoop) {
    RecordingFrame frame;
    ASSERT_TRUE(frame.Open());
    frame.Click("closebtn");
    // The loop the quit message ends; the guard's code would mean it never came.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(7); });
    guard.start(2000);
    EXPECT_EQ(QCoreApplication::exec(), 0);
}

struct RuleCase {
    const char* combo;
    int index;
    std::vector<Message> posted;
};

TEST(UserCommands, ComboSelectionsRunTheirLayoutRules) {
    const RuleCase cases[] = {
        {"ActivateMethod", 1, {{kMsgLayoutRule, 1, 0}}},
        {"DIO2 protocol", 1, {{kMsgLayoutRule, 8, 0}}},
        {"1The DIO3 data format", 1, {{kMsgLayoutRule, 16, 3}}},
        {"IOactivationmethods", 0, {{kMsgLayoutRule, 1, 0}, {kMsgLayoutRule, 10, 0}}},
        {"IOactivationmethods",
         1,
         {{kMsgLayoutRule, 1, 0},
          {kMsgLayoutRule, 11, 0},
          {kMsgLayoutRule, 12, 0},
          {kMsgLayoutRule, 13, 0}}},
        {"IOactivationmethods", 2, {{kMsgLayoutRule, 1, 0}}},
        {"Language", 1, {{kMsgSwitchLanguage, 0, 0}}},
        {"Unruled", 1, {}},
    };
    RecordingFrame frame;
    ASSERT_TRUE(frame.Open());
    for (const RuleCase& c : cases) {
        SCOPED_TRACE(std::string(c.combo) + " item " + std::to_string(c.index));
        auto* combo = dynamic_cast<CComboUI*>(frame.Control(c.combo));
        ASSERT_NE(combo, nullptr);
        combo->SelectItem(-1);
        Posted(frame);
        combo->SelectItem(c.index);
        EXPECT_EQ(Posted(frame), c.posted);
    }
}

struct SwitchCase {
    const char* name;
    const char* imageAfter;
    const char* imageAfterTwo;
};

TEST(UserCommands, RouteSwitchesToggleTheirImage) {
    const SwitchCase cases[] = {
        {"COM2GPRS", "switch_enable.png", "switch_disable.png"},
        {"GPRS2COM", "switch_disable.png", "switch_enable.png"},
        {"Lora2COM", "switch.png", "switch.png"},
        {"GPS2GPRS", "enable_or_enable.png", "disable_or_disable.png"},
    };
    RecordingFrame frame;
    ASSERT_TRUE(frame.Open());
    for (const SwitchCase& c : cases) {
        SCOPED_TRACE(c.name);
        frame.Click(c.name);
        EXPECT_EQ(frame.Control(c.name)->GetBkImage(), c.imageAfter);
        frame.Click(c.name);
        EXPECT_EQ(frame.Control(c.name)->GetBkImage(), c.imageAfterTwo);
    }
}

struct TabCase {
    const char* option;
    int pageBefore;
    int pageAfter;
};

TEST(UserCommands, TabOptionsSelectTheirPage) {
    const TabCase cases[] = {
        {"ServerTab", 0, 1}, {"OperationTab", 0, 10},
        {"GPSTab", 0, 9},    {"Tab", 5, 0},  // a part of the first tab's name
        {"NoSuchTab", 5, 5},                 // in no tab's name: the page stays
    };
    RecordingFrame frame;
    ASSERT_TRUE(frame.Open());
    auto* pages = dynamic_cast<CTabLayoutUI*>(frame.Control("switch"));
    ASSERT_NE(pages, nullptr);
    for (const TabCase& c : cases) {
        SCOPED_TRACE(c.option);
        pages->SelectItem(c.pageBefore);
        frame.Notify(c.option, "selectchanged");
        EXPECT_EQ(pages->GetCurSel(), c.pageAfter);
    }
}

TEST(UserCommands, NetworkModeIsAskedOnFocusOnlyWhenLoggedIn) {
    const struct {
        bool loggedIn;
        std::size_t jobs;
    } cases[] = {{false, 0}, {true, 1}};
    RecordingFrame frame;
    ASSERT_TRUE(frame.Open());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.loggedIn);
        frame.loggedIn = c.loggedIn;
        frame.Notify("FINDNETMODE", "setfocus");
        const std::vector<QueuedJob> jobs = TakeJobs(frame);
        ASSERT_EQ(jobs.size(), c.jobs);
        if (c.jobs) {
            EXPECT_EQ(jobs[0], (QueuedJob{JobType::FindNetMode, "AT+FINDNETMODE\r\n"}));
        }
    }
}

struct TypedCase {
    const char* field;
    const char* typed;
    const char* kept;
    ValueFault fault;  // the reason the field is marked with afterwards
};

// Where a value is typed: blanks around an address, a port or a number go; what is still wrong
// is marked on the field with the reason, and no box ever comes up, however often it is left.
TEST(UserCommands, TypedValuesAreTrimmedAndMarkedNeverBoxed) {
    const TypedCase cases[] = {
        {"Server's Ip", "10.0.0.1 ", "10.0.0.1", ValueFault::None},
        {"Server's Ip", " 10.0.0.1", "10.0.0.1", ValueFault::None},
        {"Server5's Ip", "10.0 .0.1", "10.0 .0.1", ValueFault::NotAddress},
        {"Server5's Ip", "999.1.1.1", "999.1.1.1", ValueFault::NotAddress},
        {"Server5's Ip", "10.0.0.5", "10.0.0.5", ValueFault::None},
        {"Server's Port", "abc", "abc", ValueFault::NotPort},
        {"Server's Port", "70000 ", "70000", ValueFault::NotPort},
        {"Server's Port", "7000", "7000", ValueFault::None},
        {"Access Point Name", "my apn ", "my apn ", ValueFault::None},
    };
    RecordingFrame frame;
    ASSERT_TRUE(frame.Open());
    enginetest::RecordingDialogs dialogs;
    ui::ScopedDialogs scoped(&dialogs);
    for (const TypedCase& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " '" + c.typed + "'");
        frame.Control(c.field)->SetText(c.typed);
        // Left again and again, as focus moves between the field and a box would.
        for (int i = 0; i < 3; ++i) frame.Notify(c.field, "killfocus");
        EXPECT_EQ(frame.Control(c.field)->GetText(), c.kept);
        EXPECT_EQ(frame.Control(c.field)->ProblemMark(), ValueFaultText(c.fault));
    }
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST(FrameTimers, StartupTimerShowsTheAboutTextOnce) {
    RecordingFrame frame;
    ASSERT_TRUE(frame.Open());
    EXPECT_EQ(frame.TimerInterval(kStartupTimer), 100);
    enginetest::RunEventsFor(350);
    EXPECT_EQ(frame.Count({kMsgAboutHelp, 0, 0}), 1);
    EXPECT_EQ(frame.TimerInterval(kStartupTimer), -1);
}

}  // namespace

namespace {

// Cancel drops the queued writes and keeps the read-back in one step: a worker looking at the
// queue meanwhile never finds it empty, which would end the run before the read-back.
TEST(UserCommands, CancelNeverShowsTheWorkerAnEmptyQueue) {
    RecordingFrame frame;
    ASSERT_TRUE(frame.Open());
    // The watcher stands in for the worker; the frame's own takes nothing meanwhile.
    frame.jobQueue.Hold(true);
    std::atomic<bool> done{false};
    std::atomic<int> seenEmpty{0};
    const CommandJob write{JobType::WriteParameter, "AT+IPAD=10.0.0.7\r\n", "Server's Ip",
                           "10.0.0.7"};
    const CommandJob readBack{JobType::ReadBack, "\r\nAT+SHOW\r\n", {}, {}};
    frame.jobQueue.PushJob(readBack);
    std::thread watcher([&] {
        while (!done) seenEmpty += frame.jobQueue.Size() == 0;
    });
    for (int round = 0; round < 20000; ++round) {
        frame.jobQueue.PushJob(write);
        CancelRun(frame);
    }
    done = true;
    watcher.join();
    EXPECT_EQ(seenEmpty, 0);
    EXPECT_EQ(frame.jobQueue.Size(), 1u);
}

}  // namespace
