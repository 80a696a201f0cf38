#include "engine/ReceivePath.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "engine/AnswerMatch.h"
#include "engine/EngineWindow.h"
#include "engine/FrameMessages.h"
#include "engine/FrameTimers.h"
#include "engine/JobTypes.h"
#include "engine/LineSync.h"
#include "ui/Log.h"

namespace {

// The prompt answers come slower once the unit has shown its prompt.
constexpr UINT kPromptAnswerMs = 500;

std::string_view Received(const EngineWindow& frame) {
    return {frame.rxBuffer, static_cast<std::size_t>(frame.rxLength)};
}

void Complete(EngineWindow& frame) {
    frame.answerEvent.Set();
    frame.pendingJobType = JobType::None;
    frame.answeredAt = frame.lastReceivedAt;
}

// Queues a job of a type with a fixed command.
void PushFollowUp(EngineWindow& frame, JobType type) {
    frame.jobQueue.PushJob(CommandJob{type, std::string(JobCommand(type)), {}, {}});
}

// Drops the received text before offset, keeping what follows.
void DropReceivedBefore(EngineWindow& frame, std::size_t offset) {
    const std::size_t length = static_cast<std::size_t>(frame.rxLength);
    if (offset > length) offset = length;
    std::memmove(frame.rxBuffer, frame.rxBuffer + offset, length - offset);
    frame.rxLength = static_cast<int>(length - offset);
    std::memset(frame.rxBuffer + frame.rxLength, 0, offset);
}

void TestPrompting(EngineWindow& frame, std::string_view text) {
    const std::size_t list = text.rfind(kCommandList);
    if (list == std::string_view::npos) return;
    frame.KillTimer(kPromptTimer);
    frame.PostMessage(kMsgCommandState, 1, 0);
    frame.pendingJobType = JobType::None;
    // A prompt that came before the command list in the same text is answered already; left
    // in the buffer it would put the form back into prompting.
    DropReceivedBefore(frame, list + kCommandList.size());
}

// Where the line holding text[from] ends (past its "\n"), or from when its end has not come.
std::size_t PastLineEnd(std::string_view text, std::size_t from) {
    const std::size_t end = text.find('\n', from);
    return end == std::string_view::npos ? from : end + 1;
}

void TestLogin(EngineWindow& frame, std::string_view text) {
    const std::size_t greeting = text.find(kLoginGreeting);
    if (greeting != std::string_view::npos) {
        frame.pendingJobType = JobType::None;
        frame.PostMessage(kMsgCommandState, 1, 0);
        frame.answerEvent.Set();
        frame.answeredAt = frame.lastReceivedAt;
        // Answers come in order: none owed before the greeting can still come.
        ForgetOwedAnswers(frame.lineSync);
        DropReceivedBefore(frame, greeting + kLoginGreeting.size());
    } else if (HasErrorLine(text)) {
        Complete(frame);
    } else if (HasOkLine(text)) {
        // "+++" is answered by the greeting alone: an OK is a probe's "AT" answered late, by a
        // unit in its setting mode already.
        ForgetOwedAnswers(frame.lineSync);
        frame.PostMessage(kMsgCommandState, 1, 0);
        Complete(frame);
    }
}

// Whether the awaited answer is complete, by the rule of the pending kind.
void TestCompletion(EngineWindow& frame) {
    const std::string_view text = Received(frame);
    if (frame.pendingJobType == JobType::AwaitPrompt) return TestPrompting(frame, text);
    const Completion rule = JobTypeOf(frame.pendingJobType).completion;
    if (rule == Completion::None) return;
    if (rule == Completion::Login) return TestLogin(frame, text);
    // Only a unit in its setting mode answers "AT" with OK; one that says nothing is not.
    if (rule == Completion::InSetting) {
        if (!HasOkLine(text)) return;
        ForgetOwedAnswers(frame.lineSync);
        frame.PostMessage(kMsgCommandState, 1, 0);
        return Complete(frame);
    }
    // A probe is answered once nothing is owed any more, whatever its own answer says.
    if (rule == Completion::InStep) {
        if (LineInStep(frame.lineSync)) Complete(frame);
        return;
    }
    // A refusal ends every kind at once: the worker then stores and applies nothing.
    if (HasErrorLine(text)) {
        if (rule == Completion::Signal) PushFollowUp(frame, JobType::QuerySignalRetry);
        return Complete(frame);
    }
    if (!HasOkLine(text)) return;
    switch (rule) {
        case Completion::Listing:
        case Completion::FileListing:
            if (HasMarker(text, kListingAnchor)) Complete(frame);
            break;
        case Completion::Factory:
            Complete(frame);
            PushFollowUp(frame, JobType::ReadAll);
            break;
        case Completion::QuitOk:
            Complete(frame);
            frame.PostMessage(kMsgCommandState, 0, 0);
            break;
        default:
            Complete(frame);
            break;
    }
}

// The unit's own announcements, whatever is awaited, in the order they came; each is taken
// out of the buffer (up to its line end) once handled, so no later block handles it again.
void TestMode(EngineWindow& frame) {
    for (;;) {
        const std::string_view text = Received(frame);
        const std::size_t timeout = text.find(kSettingTimeout);
        const std::size_t prompt = text.find(kPromptMarker);
        if (timeout == std::string_view::npos && prompt == std::string_view::npos) return;
        // The unit left its setting mode or restarted: it answers nothing owed from before.
        ForgetOwedAnswers(frame.lineSync);
        if (timeout < prompt) {
            frame.PostMessage(kMsgCommandState, 0, 0);
            DropReceivedBefore(frame, PastLineEnd(text, timeout + kSettingTimeout.size()));
            continue;
        }
        frame.pendingJobType = JobType::AwaitPrompt;
        // Restarted only to change its period: a unit that prompts more often than the timer
        // ticks would otherwise never be answered.
        if (frame.TimerInterval(kPromptTimer) != static_cast<int>(kPromptAnswerMs)) {
            StartPromptTimer(frame, kPromptAnswerMs);
        }
        DropReceivedBefore(frame, PastLineEnd(text, prompt + kPromptMarker.size()));
        // The command list may have come in the same block as the prompt.
        TestPrompting(frame, Received(frame));
    }
}

}  // namespace

LRESULT OnReceive(EngineWindow& frame, char* block, int count) {
    if (!block || count <= 0) return 0;
    count = std::min(count, static_cast<int>(CSerialPort::kMaxBlock));
    block[count] = '\0';
    frame.lastReceivedAt = std::chrono::steady_clock::now();
    // Everything the unit sends is logged, whatever is awaited, in the order it came. Logged
    // whole: a zero byte from the line would otherwise cut the rest off.
    std::string shown(block, static_cast<std::size_t>(count));
    std::replace(shown.begin(), shown.end(), '\0', ' ');
    LogReceived(frame, shown);
    CountResultLines(frame.lineSync, std::string_view(block, static_cast<std::size_t>(count)));
    AppendReceived(frame, count, block);
    TestCompletion(frame);
    TestMode(frame);
    return 0;
}

void AppendReceived(EngineWindow& frame, int count, const char* received) {
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

void ClearReceived(EngineWindow& frame) {
    std::memset(frame.rxBuffer, 0, static_cast<std::size_t>(frame.rxLength));
    frame.rxBuffer[0] = '\0';
    frame.rxLength = 0;
}

bool StillArriving(const EngineWindow& frame, std::chrono::milliseconds span) {
    return std::chrono::steady_clock::now() - frame.lastReceivedAt < span &&
           frame.lastReceivedAt != frame.answeredAt;
}
