#include "engine/Worker.h"

#include <condition_variable>
#include <mutex>

#include "app/FrameWnd.h"
#include "settings/Labels.h"
#include "engine/AnswerMatch.h"
#include "engine/Clock.h"
#include "engine/JobSteps.h"
#include "engine/JobTypes.h"
#include "engine/Log.h"
#include "engine/UiCall.h"

namespace {

// Waits for span or until stop is requested; false when stopped.
bool Pause(std::stop_token stop, std::chrono::milliseconds span) {
    std::mutex mutex;
    std::condition_variable_any wake;
    std::unique_lock lock(mutex);
    wake.wait_for(lock, stop, span, [] { return false; });
    return !stop.stop_requested();
}

// Parks the receive state and, after a time-out, waits until the line is quiet; false when
// stopped.
bool StartJob(CM5Z30FrameWnd& frame, const CommandJob& job, bool settle, std::stop_token stop) {
    frame.SendMessage(kMsgCommandState, 0, 2);
    CallOnUi(frame, [&] {
        PrepareJobStart(frame);
        // The last answer came complete: whatever the unit still sends is not part of it.
        if (!settle) ArmJob(frame, job.type);
        return LRESULT{1};
    });
    if (!settle) return !stop.stop_requested();
    for (int round = 0; round < kQuietSpanRounds; ++round) {
        if (!Pause(stop, kQuietSpan)) return false;
        if (CallOnUi(frame, [&] { return LRESULT{ArmJobWhenQuiet(frame, job.type)}; })) return true;
    }
    CallOnUi(frame, [&] {
        ArmJob(frame, job.type);
        return LRESULT{1};
    });
    return !stop.stop_requested();
}

// A completed job's outcome as its answer says; an ERROR line wins, as in the result labels.
JobOutcome AnswerOutcome(const CM5Z30FrameWnd& frame) {
    const std::string_view text(frame.rxBuffer, static_cast<std::size_t>(frame.rxLength));
    if (HasErrorLine(text)) return JobOutcome::Error;
    return HasOkLine(text) ? JobOutcome::Ok : JobOutcome::Error;
}

void ReportTimeout(CM5Z30FrameWnd& frame, const CommandJob& job) {
    if (!frame.jobObserver) return;
    CallOnUi(frame, [&] {
        frame.jobObserver(job, JobOutcome::Timeout);
        return LRESULT{1};
    });
}

// After a time-out the old command's late answer can come just in front of this command's,
// each complete on its own; judged on the first alone, a late OK would pass for this command's.
// Waits until the line has been quiet for a span (at most the settling rounds), so that such an
// answer is judged whole and an ERROR in it wins. False when stopped.
bool WaitForQuietLine(CM5Z30FrameWnd& frame, std::stop_token stop) {
    LRESULT length = CallOnUi(frame, [&] { return LRESULT{frame.rxLength}; });
    for (int round = 0; round < kQuietSpanRounds; ++round) {
        if (!Pause(stop, kQuietSpan)) return false;
        const LRESULT now = CallOnUi(frame, [&] { return LRESULT{frame.rxLength}; });
        if (now == length) return true;
        length = now;
    }
    return !stop.stop_requested();
}

// Runs one job; returns true when it ended by its time-out.
bool RunJob(CM5Z30FrameWnd& frame, const CommandJob& job, bool settle, std::stop_token stop) {
    if (!StartJob(frame, job, settle, stop)) return false;
    LogAppend(frame, (LabelText("ComSend", "send") + ":" + std::string_view(job.command)).str());
    const auto timeout = JobTimeout(job.type, frame.timeoutFactor.load());
    frame.serialPort.WriteBytes(job.command.data(), static_cast<unsigned>(job.command.size()));
    if (!frame.answerEvent.WaitFor(EngineClock(), timeout, stop)) {
        if (stop.stop_requested()) return false;
        LogAppend(frame, LabelText("WorkerJobThreadProc", "OutTime", "\r\n").str());
        ReportTimeout(frame, job);
        // The pending kind stays the timed-out job's, so its answer, should it still come,
        // completes it here instead of being taken for the next command's.
        frame.answerEvent.WaitFor(EngineClock(), kLateAnswerGrace, stop);
        return true;
    }
    if (settle && !WaitForQuietLine(frame, stop)) return false;
    CallOnUi(frame, [&] {
        const JobOutcome outcome = AnswerOutcome(frame);
        HandleJobResult(frame, job);
        if (frame.jobObserver) frame.jobObserver(job, outcome);
        return LRESULT{1};
    });
    return false;
}

}  // namespace

void WorkerJobThreadProc(CM5Z30FrameWnd* frame, std::stop_token stop) {
    if (!frame) return;
    // Whether the buttons were enabled since the queue last ran dry: once per idle period.
    bool idleNoticeSent = false;
    // Whether the last job timed out, so that its late answer may still be on the way.
    bool settle = false;
    while (!stop.stop_requested()) {
        CommandJob job;
        if (!frame->jobQueue.PopJob(job)) {
            if (!idleNoticeSent && frame->loggedIn && frame->serialPort.IsOpen()) {
                frame->SendMessage(kMsgCommandState, 1, 2);
                idleNoticeSent = true;
            }
            frame->jobQueue.WaitForJob(stop, kWorkerIdlePeriod);
            continue;
        }
        idleNoticeSent = false;
        settle = RunJob(*frame, job, settle, stop);
        // The pause between two jobs.
        if (!Pause(stop, kWorkerPollPeriod)) break;
    }
}
