#include "engine/ReceivePath.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "app/FrameWnd.h"
#include "engine/AnswerMatch.h"
#include "engine/FrameTimers.h"
#include "engine/JobTypes.h"
#include "engine/Log.h"

namespace {

// The prompt answers come slower once the unit has shown its prompt.
constexpr UINT kPromptAnswerMs = 500;

std::string_view Received(const CM5Z30FrameWnd& frame) {
    return {frame.rxBuffer, static_cast<std::size_t>(frame.rxLength)};
}

void Complete(CM5Z30FrameWnd& frame) {
    frame.answerEvent.Set();
    frame.pendingJobType = kNoJob;
}

void PushFollowUp(CM5Z30FrameWnd& frame, int type, const char* command) {
    frame.jobQueue.PushJob(CommandJob{type, command, {}, {}});
}

// Drops the received text before offset, keeping what follows.
void DropReceivedBefore(CM5Z30FrameWnd& frame, std::size_t offset) {
    const std::size_t length = static_cast<std::size_t>(frame.rxLength);
    if (offset > length) offset = length;
    std::memmove(frame.rxBuffer, frame.rxBuffer + offset, length - offset);
    frame.rxLength = static_cast<int>(length - offset);
    std::memset(frame.rxBuffer + frame.rxLength, 0, offset);
}

void TestPrompting(CM5Z30FrameWnd& frame, std::string_view text) {
    const std::size_t list = text.rfind(kCommandList);
    if (list == std::string_view::npos) return;
    frame.KillTimer(kPromptTimer);
    frame.PostMessage(kMsgCommandState, 1, 0);
    frame.pendingJobType = kNoJob;
    // A prompt that came before the command list in the same text is answered already; left
    // in the buffer it would put the form back into prompting.
    DropReceivedBefore(frame, list + kCommandList.size());
}

// Whether the awaited answer is complete, by the rule of the pending kind.
void TestCompletion(CM5Z30FrameWnd& frame) {
    const std::string_view text = Received(frame);
    if (frame.pendingJobType == kAwaitPrompt) return TestPrompting(frame, text);
    const bool ok = HasOkLine(text);
    const bool error = HasErrorLine(text);
    switch (JobTypeOf(frame.pendingJobType).completion) {
        case Completion::None:
            break;
        case Completion::Listing:
            if (HasMarker(text, kListingAnchor) && ok) Complete(frame);
            break;
        case Completion::Login:
            if (HasMarker(text, kLoginGreeting)) {
                frame.pendingJobType = kNoJob;
                frame.PostMessage(kMsgCommandState, 1, 0);
                frame.answerEvent.Set();
            } else if (error) {
                Complete(frame);
            }
            break;
        case Completion::Factory:
            if (ok) {
                frame.answerEvent.Set();
                PushFollowUp(frame, ReadAll, "\r\nAT+SHOW\r\n");
                frame.pendingJobType = kNoJob;
            } else if (error) {
                Complete(frame);
            }
            break;
        case Completion::FileListing:
            // An error answer must not reach the file or the form: the job ends unanswered.
            if (HasMarker(text, kListingAnchor)) {
                if (ok) Complete(frame);
            } else if (error) {
                frame.pendingJobType = kNoJob;
            }
            break;
        case Completion::QuitOk:
            if (ok) {
                frame.answerEvent.Set();
                frame.PostMessage(kMsgCommandState, 0, 0);
                frame.pendingJobType = kNoJob;
            }
            break;
        case Completion::OkOnly:
            if (ok) Complete(frame);
            break;
        case Completion::Signal:
            if (ok) {
                Complete(frame);
            } else if (error) {
                frame.answerEvent.Set();
                PushFollowUp(frame, QuerySignalRetry, "At+CSQ\r\n");
                frame.pendingJobType = kNoJob;
            }
            break;
        case Completion::OkOrError:
            if (ok || error) Complete(frame);
            break;
    }
}

// The unit's own announcements, whatever is awaited.
void TestMode(CM5Z30FrameWnd& frame) {
    const std::string_view text = Received(frame);
    if (HasMarker(text, kSettingTimeout)) {
        frame.PostMessage(kMsgCommandState, 0, 0);
    } else if (HasMarker(text, kPromptMarker)) {
        frame.pendingJobType = kAwaitPrompt;
        // Restarted only to change its period: a unit that prompts more often than the timer
        // ticks would otherwise never be answered.
        if (frame.TimerInterval(kPromptTimer) != static_cast<int>(kPromptAnswerMs)) {
            StartPromptTimer(frame, kPromptAnswerMs);
        }
        ClearReceived(frame);
    }
}

}  // namespace

LRESULT OnReceive(CM5Z30FrameWnd& frame, char* block, int count) {
    if (!block || count <= 0) return 0;
    count = std::min(count, static_cast<int>(CSerialPort::kMaxBlock));
    block[count] = '\0';
    if (frame.pendingJobType != kNoJob) {
        // Logged whole: a zero byte from the line would otherwise cut the rest off.
        std::string shown(block, static_cast<std::size_t>(count));
        std::replace(shown.begin(), shown.end(), '\0', ' ');
        LogReceived(frame, shown);
    }
    AppendReceived(frame, count, block);
    TestCompletion(frame);
    TestMode(frame);
    return 0;
}

void AppendReceived(CM5Z30FrameWnd& frame, int count, const char* received) {
    if (count <= 0 || !received) return;
    // Turned into spaces, a zero inside "OK" or a label would hide the answer, and one inside
    // a value would change it on its way into the form and into a backup.
    std::string text(received, static_cast<std::size_t>(count));
    std::erase(text, '\0');
    const char* block = text.data();
    count = static_cast<int>(text.size());
    if (count == 0) return;
    if (count >= kRxCapacity) {
        std::memcpy(frame.rxBuffer, block + (count - kRxCapacity), kRxCapacity);
        frame.rxLength = kRxCapacity;
    } else if (frame.rxLength + count <= kRxCapacity) {
        std::memcpy(frame.rxBuffer + frame.rxLength, block, static_cast<std::size_t>(count));
        frame.rxLength += count;
    } else {
        const int keep = kRxCapacity - count;
        std::memmove(frame.rxBuffer, frame.rxBuffer + (frame.rxLength - keep),
                     static_cast<std::size_t>(keep));
        std::memcpy(frame.rxBuffer + keep, block, static_cast<std::size_t>(count));
        frame.rxLength = kRxCapacity;
    }
    frame.rxBuffer[frame.rxLength] = '\0';
}

void ClearReceived(CM5Z30FrameWnd& frame) {
    std::memset(frame.rxBuffer, 0, static_cast<std::size_t>(frame.rxLength));
    frame.rxBuffer[0] = '\0';
    frame.rxLength = 0;
}
