// The receive path on its own: blocks handed to OnReceive as the monitor would, judged by the
// pending kind's rule and by the unit's mode texts.
#include "engine/ReceivePath.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <algorithm>
#include <string>
#include <vector>

#include "engine/FrameTimers.h"
#include "tests/engine/EngineTestSupport.h"

namespace {

using namespace std::string_literals;
using enginetest::Feed;
using enginetest::Message;
using enginetest::RecordingFrame;

void ResetReceiveState(RecordingFrame& frame, int pending) {
    ClearReceived(frame);
    frame.pendingJobType = pending;
    frame.answerEvent.Reset();
    frame.jobQueue.Clear();
    frame.KillTimer(kPromptTimer);
    if (pending == kAwaitPrompt) StartPromptTimer(frame, 300);
    QCoreApplication::processEvents();
    frame.messages.clear();
    frame.log.clear();
}

std::vector<int> QueuedTypes(CM5Z30FrameWnd& frame) {
    std::vector<int> types;
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
    int pending;
    std::vector<std::string> blocks;
    bool eventSet;
    int pendingAfter;
    std::vector<Message> posted;
    std::vector<int> followUps;
    int promptTimer;  // period of timer 101 afterwards, -1 stopped
};

TEST(ReceivePath, CompletesEachPendingKindByItsRule) {
    // clang-format off
    const CompletionCase cases[] = {
        {"listing and OK line", ReadAll, {kList, "\r\nOK\r\n"}, true, kNoJob, kNone, {}, -1},
        {"anchor split over blocks", ReadAll, {"\r\nAccess Po", "int Name:X\r\n\r\nOK\r\n"}, true,
         kNoJob, kNone, {}, -1},
        {"listing without OK yet", ReadAll, {kList}, false, ReadAll, kNone, {}, -1},
        {"value holding OK", ReadAll, {"\r\nAccess Point Name:BOOK\r\n"}, false, ReadAll, kNone, {},
         -1},
        {"error to a listing ends it", ReadAll, {"\r\nERROR\r\n"}, true, kNoJob, kNone, {}, -1},
        {"zero byte cuts nothing", ReadAll, {"\r\nAccess Point Name:A\0B\r\n\r\nOK\r\n"s}, true,
         kNoJob, kNone, {}, -1},
        {"write OK", WriteParameter, {"\r\nOK\r\n"}, true, kNoJob, kNone, {}, -1},
        {"write ERROR", WriteParameter, {"\r\nERROR\r\n"}, true, kNoJob, kNone, {}, -1},
        {"write CME error", WriteParameter, {"\r\n+CME ERROR: 1\r\n"}, true, kNoJob, kNone, {}, -1},
        {"OK without line end", WriteParameter, {"\r\nOK"}, false, WriteParameter, kNone, {}, -1},
        {"OK over two blocks", WriteParameter, {"\r\nO", "K\r\n"}, true, kNoJob, kNone, {}, -1},
        {"OK inside a word", GetVersion, {"\r\n+VER: BOOK\r\n"}, false, GetVersion, kNone, {}, -1},
        {"login greeting", EnterConfig, {"\r\nenter setting!\r\n"}, true, kNoJob, kIn, {}, -1},
        {"login refused", EnterConfig, {"\r\nERROR\r\n"}, true, kNoJob, kNone, {}, -1},
        {"factory OK: read again", RestoreFactory, {"\r\nOK\r\n"}, true, kNoJob, kNone, {ReadAll},
         -1},
        {"factory refused", RestoreFactory, {"\r\nERROR\r\n"}, true, kNoJob, kNone, {}, -1},
        {"listing for a file", ReadForSave, {kList, "\r\nOK\r\n"}, true, kNoJob, kNone, {}, -1},
        {"error for a file ends it", ReadForApply, {"\r\nERROR\r\n"}, true, kNoJob, kNone, {}, -1},
        {"quit refused: still logged in", Quit, {"\r\nERROR\r\n"}, true, kNoJob, kNone, {}, -1},
        {"quit OK", Quit, {"\r\nOK\r\n"}, true, kNoJob, kOut, {}, -1},
        {"net mode refused", FindNetMode, {"\r\nERROR\r\n"}, true, kNoJob, kNone, {}, -1},
        {"signal refused: retried", QuerySignal, {"\r\nERROR\r\n"}, true, kNoJob, kNone,
         {QuerySignalRetry}, -1},
        {"retry refused: ends", QuerySignalRetry, {"\r\nERROR\r\n"}, true, kNoJob, kNone, {}, -1},
        {"command list logs in", kAwaitPrompt, {"\r\nAT+LIST   this list\r\n"}, false, kNoJob, kIn,
         {}, -1},
        {"prompt before the list", kAwaitPrompt, {kPrompt + "\r\nAT+LIST\r\n"}, false, kNoJob, kIn,
         {}, -1},
        {"list while a job waits", ReadAll, {"\r\nAT+LIST\r\n"}, false, ReadAll, kNone, {}, -1},
        {"OK while idle", kNoJob, {"\r\nOK\r\n"}, false, kNoJob, kNone, {}, -1},
        {"OK while settling", kSettling, {"\r\nOK\r\n"}, false, kSettling, kNone, {}, -1},
        {"setting time-out", kNoJob, {"\r\nSeting Timeout and quit\r\n"}, false, kNoJob, kOut, {},
         -1},
        {"prompt during a job", ReadAll, {kPrompt}, false, kAwaitPrompt, kNone, {}, 500},
        {"prompt slows the answers", kAwaitPrompt, {kPrompt}, false, kAwaitPrompt, kNone, {}, 500},
        {"time-out, then a new prompt: answered", kNoJob,
         {"\r\nSeting Timeout and quit\r\n" + kPrompt}, false, kAwaitPrompt, kOut, {}, 500},
        {"time-out handled once", kNoJob, {"\r\nSeting Timeout and quit\r\n", "\r\nOK\r\n"}, false,
         kNoJob, kOut, {}, -1},
        {"time-out text, then a prompt block", kNoJob, {"\r\nSeting Timeout and quit\r\n", kPrompt},
         false, kAwaitPrompt, kOut, {}, 500},
        {"prompt and command list in one block", kNoJob, {kPrompt + "\r\nAT+LIST\r\n"}, false, kNoJob,
         kIn, {}, -1},
        {"empty block", ReadAll, {""}, false, ReadAll, kNone, {}, -1},
    };
    // clang-format on
    RecordingFrame frame;
    ASSERT_TRUE(frame.Open());
    for (const CompletionCase& c : cases) {
        SCOPED_TRACE(c.what);
        ResetReceiveState(frame, c.pending);
        for (const std::string& block : c.blocks) Feed(frame, block);
        const int pendingAfter = frame.pendingJobType;
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
    int pending;
    std::string block;
    std::string logged;
};

TEST(ReceivePath, LogsEverythingThatArrives) {
    // clang-format off
    const LogCase cases[] = {
        {"idle: logged too", kNoJob, "\r\n+CSQ: 23,99\r\n", "\r\n+CSQ: 23,99\r\n"},
        {"settling: logged too", kSettling, "\r\nOK\r\n", "\r\nOK\r\n"},
        {"prompting: everything logged", kAwaitPrompt, "Firmware V3\r\n", "Firmware V3\r\n"},
        {"answer awaited: logged", GetVersion, "\r\n+VER: M5Z30\r\n", "\r\n+VER: M5Z30\r\n"},
        {"zero byte shown as a space", GetVersion, "AB\0CD\r\n"s, "AB CD\r\n"},
        {"empty block: nothing", GetVersion, "", ""},
    };
    // clang-format on
    RecordingFrame frame;
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
    RecordingFrame frame;
    ASSERT_TRUE(frame.Open());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetReceiveState(frame, kNoJob);
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
