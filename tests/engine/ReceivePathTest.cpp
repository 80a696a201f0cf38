// The receive path on its own: blocks handed to OnReceive as the monitor would, judged by the
// pending kind's rule and by the unit's mode texts.
#include "engine/ReceivePath.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <algorithm>
#include <string>
#include <vector>

#include "engine/FrameTimers.h"
#include "tests/frame/EngineTestSupport.h"

namespace {

using namespace std::string_literals;
using enginetest::Feed;
using enginetest::Message;
using enginetest::RecordingEngineWindow;

void ResetReceiveState(RecordingEngineWindow& frame, JobType pending) {
    ClearReceived(frame);
    frame.pendingJobType = pending;
    frame.answerEvent.Reset();
    frame.jobQueue.Clear();
    frame.KillTimer(kPromptTimer);
    if (pending == JobType::AwaitPrompt) StartPromptTimer(frame, 300);
    QCoreApplication::processEvents();
    frame.messages.clear();
    frame.log.clear();
}

std::vector<JobType> QueuedTypes(EngineWindow& frame) {
    std::vector<JobType> types;
    CommandJob job;
    while (frame.jobQueue.PopJob(job)) types.push_back(job.type);
    return types;
}

const std::vector<Message> kIn{{kMsgCommandState, 1, 0}};
const std::vector<Message> kOut{{kMsgCommandState, 0, 0}};
const std::vector<Message> kNone{};
const std::string kList = "\r\nAccess Point Name:CMNET\r\nDevice Type:M5Z30\r\n";
const std::string kPrompt = "Press 's' key to enter setting mode\r\n";

struct CompletionCase {
    const char* what;
    JobType pending;
    std::vector<std::string> blocks;
    bool eventSet;
    JobType pendingAfter;
    std::vector<Message> posted;
    std::vector<JobType> followUps;
    int promptTimer;  // period of timer 101 afterwards, -1 stopped
};

TEST(ReceivePath, CompletesEachPendingKindByItsRule) {
    // clang-format off
    const CompletionCase cases[] = {
        {"listing and OK line", JobType::ReadAll, {kList, "\r\nOK\r\n"}, true, JobType::None, kNone, {}, -1},
        {"anchor split over blocks", JobType::ReadAll, {"\r\nAccess Po", "int Name:X\r\n\r\nOK\r\n"}, true,
         JobType::None, kNone, {}, -1},
        {"listing without OK yet", JobType::ReadAll, {kList}, false, JobType::ReadAll, kNone, {}, -1},
        {"value holding OK", JobType::ReadAll, {"\r\nAccess Point Name:BOOK\r\n"}, false, JobType::ReadAll, kNone, {},
         -1},
        {"error to a listing ends it", JobType::ReadAll, {"\r\nERROR\r\n"}, true, JobType::None, kNone, {}, -1},
        {"zero byte cuts nothing", JobType::ReadAll, {"\r\nAccess Point Name:A\0B\r\n\r\nOK\r\n"s}, true,
         JobType::None, kNone, {}, -1},
        {"write OK", JobType::WriteParameter, {"\r\nOK\r\n"}, true, JobType::None, kNone, {}, -1},
        {"write ERROR", JobType::WriteParameter, {"\r\nERROR\r\n"}, true, JobType::None, kNone, {}, -1},
        {"write CME error", JobType::WriteParameter, {"\r\n+CME ERROR: 1\r\n"}, true, JobType::None, kNone, {}, -1},
        {"OK without line end", JobType::WriteParameter, {"\r\nOK"}, false, JobType::WriteParameter, kNone, {}, -1},
        {"OK over two blocks", JobType::WriteParameter, {"\r\nO", "K\r\n"}, true, JobType::None, kNone, {}, -1},
        {"OK inside a word", JobType::GetVersion, {"\r\n+VER: BOOK\r\n"}, false, JobType::GetVersion, kNone, {}, -1},
        {"login greeting", JobType::EnterConfig, {"\r\nenter setting!\r\n"}, true, JobType::None, kIn, {}, -1},
        {"login refused", JobType::EnterConfig, {"\r\nERROR\r\n"}, true, JobType::None, kNone, {}, -1},
        {"factory OK: read again", JobType::RestoreFactory, {"\r\nOK\r\n"}, true, JobType::None, kNone, {JobType::ReadAll},
         -1},
        {"factory refused", JobType::RestoreFactory, {"\r\nERROR\r\n"}, true, JobType::None, kNone, {}, -1},
        {"listing for a file", JobType::ReadForSave, {kList, "\r\nOK\r\n"}, true, JobType::None, kNone, {}, -1},
        {"error for a file ends it", JobType::ReadForApply, {"\r\nERROR\r\n"}, true, JobType::None, kNone, {}, -1},
        {"quit refused: still logged in", JobType::Quit, {"\r\nERROR\r\n"}, true, JobType::None, kNone, {}, -1},
        {"quit OK", JobType::Quit, {"\r\nOK\r\n"}, true, JobType::None, kOut, {}, -1},
        {"net mode refused", JobType::FindNetMode, {"\r\nERROR\r\n"}, true, JobType::None, kNone, {}, -1},
        {"signal refused: retried", JobType::QuerySignal, {"\r\nERROR\r\n"}, true, JobType::None, kNone,
         {JobType::QuerySignalRetry}, -1},
        {"retry refused: ends", JobType::QuerySignalRetry, {"\r\nERROR\r\n"}, true, JobType::None, kNone, {}, -1},
        {"command list logs in", JobType::AwaitPrompt, {"\r\nAT+LIST   this list\r\n"}, false, JobType::None, kIn,
         {}, -1},
        {"prompt before the list", JobType::AwaitPrompt, {kPrompt + "\r\nAT+LIST\r\n"}, false, JobType::None, kIn,
         {}, -1},
        {"list while a job waits", JobType::ReadAll, {"\r\nAT+LIST\r\n"}, false, JobType::ReadAll, kNone, {}, -1},
        {"OK while idle", JobType::None, {"\r\nOK\r\n"}, false, JobType::None, kNone, {}, -1},
        {"OK while settling", JobType::Settling, {"\r\nOK\r\n"}, false, JobType::Settling, kNone, {}, -1},
        {"setting time-out", JobType::None, {"\r\nSeting Timeout and quit\r\n"}, false, JobType::None, kOut, {},
         -1},
        {"prompt during a job", JobType::ReadAll, {kPrompt}, false, JobType::AwaitPrompt, kNone, {}, 500},
        {"prompt slows the answers", JobType::AwaitPrompt, {kPrompt}, false, JobType::AwaitPrompt, kNone, {}, 500},
        {"time-out, then a new prompt: answered", JobType::None,
         {"\r\nSeting Timeout and quit\r\n" + kPrompt}, false, JobType::AwaitPrompt, kOut, {}, 500},
        {"time-out handled once", JobType::None, {"\r\nSeting Timeout and quit\r\n", "\r\nOK\r\n"}, false,
         JobType::None, kOut, {}, -1},
        {"time-out text, then a prompt block", JobType::None, {"\r\nSeting Timeout and quit\r\n", kPrompt},
         false, JobType::AwaitPrompt, kOut, {}, 500},
        {"prompt and command list in one block", JobType::None, {kPrompt + "\r\nAT+LIST\r\n"}, false, JobType::None,
         kIn, {}, -1},
        {"empty block", JobType::ReadAll, {""}, false, JobType::ReadAll, kNone, {}, -1},
    };
    // clang-format on
    RecordingEngineWindow frame;
    ASSERT_TRUE(frame.Open());
    for (const CompletionCase& c : cases) {
        SCOPED_TRACE(c.what);
        ResetReceiveState(frame, c.pending);
        for (const std::string& block : c.blocks) Feed(frame, block);
        const JobType pendingAfter = frame.pendingJobType;
        const bool eventSet = frame.answerEvent.IsSet();
        QCoreApplication::processEvents();
        EXPECT_EQ(eventSet, c.eventSet);
        EXPECT_EQ(pendingAfter, c.pendingAfter);
        EXPECT_EQ(frame.Of(kMsgCommandState), c.posted);
        EXPECT_EQ(QueuedTypes(frame), c.followUps);
        EXPECT_EQ(frame.TimerInterval(kPromptTimer), c.promptTimer);
        if (c.promptTimer == 500) {
            EXPECT_EQ(frame.rxLength, 0);
        }
    }
}

struct LogCase {
    const char* what;
    JobType pending;
    std::string block;
    std::string logged;
};

TEST(ReceivePath, LogsEverythingThatArrives) {
    // clang-format off
    const LogCase cases[] = {
        {"idle: logged too", JobType::None, "\r\n+CSQ: 23,99\r\n", "\r\n+CSQ: 23,99\r\n"},
        {"settling: logged too", JobType::Settling, "\r\nOK\r\n", "\r\nOK\r\n"},
        {"prompting: everything logged", JobType::AwaitPrompt, "Firmware V3\r\n", "Firmware V3\r\n"},
        {"answer awaited: logged", JobType::GetVersion, "\r\n+VER: M5Z30\r\n", "\r\n+VER: M5Z30\r\n"},
        {"zero byte shown as a space", JobType::GetVersion, "AB\0CD\r\n"s, "AB CD\r\n"},
        {"empty block: nothing", JobType::GetVersion, "", ""},
    };
    // clang-format on
    RecordingEngineWindow frame;
    ASSERT_TRUE(frame.Open());
    for (const LogCase& c : cases) {
        SCOPED_TRACE(c.what);
        ResetReceiveState(frame, c.pending);
        Feed(frame, c.block);
        QCoreApplication::processEvents();
        EXPECT_EQ(frame.log, c.logged);
        // A zero byte is shown in the log but is no part of the received text.
        EXPECT_EQ(
            frame.rxLength,
            static_cast<int>(c.block.size() - std::count(c.block.begin(), c.block.end(), '\0')));
    }
}

TEST(ReceivePath, KeepsTheNewestTextWhenTheBufferIsFull) {
    const struct {
        const char* what;
        int before;
        int added;
    } cases[] = {
        {"fits exactly", kRxCapacity - 100, 100},
        {"one over: the oldest character goes", kRxCapacity - 99, 100},
        {"a full block onto a full buffer", kRxCapacity, 4095},
    };
    RecordingEngineWindow frame;
    ASSERT_TRUE(frame.Open());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetReceiveState(frame, JobType::None);
        std::string old;
        for (int i = 0; i < c.before; ++i) old += static_cast<char>('a' + i % 26);
        const std::string block(static_cast<std::size_t>(c.added), 'Z');
        AppendReceived(frame, c.before, old.data());
        AppendReceived(frame, c.added, block.data());
        const std::string all = old + block;
        EXPECT_EQ(std::string(frame.rxBuffer, static_cast<std::size_t>(frame.rxLength)),
                  all.substr(all.size() - kRxCapacity));
        EXPECT_EQ(frame.rxBuffer[frame.rxLength], '\0');
    }
}

}  // namespace
