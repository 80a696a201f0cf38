// Who owns the line, and so whose answer a received text can be.
//
// The unit's answers carry nothing that names their command, so an answer belongs to a command
// only by when it arrives. Every block is handled on the UI thread (OnReceive), and so are the
// steps below that hand the line from one command to the next; the worker only sequences them.
// The pending kind says which command the line belongs to at each moment:
//
//   phase       pending kind              what received text does
//   ----------  ------------------------  ----------------------------------------------------
//   settling    Settling (or the Login's   logged, kept for the mode markers, judged as no
//               EnterConfig, left alone)   answer; the buffer is emptied before the write
//   pending     the job's type             logged and judged by the job's rule (JobTypes.h)
//   grace       still the job's type       logged and judged by the job's rule: a late answer
//                                          completes the timed-out job and is handled, marked
//                                          late (a write's late OK stores its value)
//   settled     None                       logged, judged as nothing: after the answer or
//                                          after the grace, nothing is awaited
//
// Why nothing can be credited to the wrong command:
// - A job is armed and its command written in one UI-thread step (ArmAndWrite). Text handled
//   before it was judged in the settling phase, which completes nothing; text handled after it
//   came after the write.
// - The grace ends in one UI-thread step too (EndGrace): either the answer completed the old
//   job, or nothing is pending from then on, so a later answer completes nothing.
// - After a time-out, and whenever text is still arriving when a job starts, the command waits
//   for a quiet line; if the old answer still comes right behind it, the new answer is judged
//   only once the line is quiet again, so a refusal in it wins over the old OK.
// - A Login that awaits its greeting keeps the line: the next job neither parks nor overwrites
//   its pending kind until the greeting came or the Login's own time-out passed.
// - A command the port did not take whole is not logged as sent and awaits nothing.
// - The mode markers (time-out text, prompt, greeting, command list) are taken out of the
//   buffer once handled, so no later block handles them again.
#include "engine/Worker.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/AnswerMatch.h"
#include "engine/Clock.h"
#include "engine/EngineWindow.h"
#include "engine/FrameMessages.h"
#include "engine/JobEnd.h"
#include "engine/JobSteps.h"
#include "engine/JobTypes.h"
#include "engine/JobWrite.h"
#include "engine/LineSync.h"
#include "engine/ReceivePath.h"
#include "engine/UiCall.h"
#include "params/Listing.h"
#include "settings/Labels.h"
#include "ui/Log.h"

namespace {

constexpr const char* kResultSection = "WorkerJobThreadProc";

// Waits for span or until stop is requested; false when stopped.
bool Pause(std::stop_token stop, std::chrono::milliseconds span) {
    std::mutex mutex;
    std::condition_variable_any wake;
    std::unique_lock lock(mutex);
    wake.wait_for(lock, stop, span, [] { return false; });
    return !stop.stop_requested();
}

// Hands the line to the job and writes its command: at once after a complete answer, after a
// time-out only on a quiet line (at most kQuietSpanRounds spans), and never over a Login that
// awaits its greeting (at most for the Login's own time-out). Empty when stopped or when the
// UI thread refuses the calls (the job is then dropped).
std::optional<WriteStep> WriteWhenLineIsFree(EngineWindow& frame, const CommandJob& job,
                                             bool settle, std::stop_token stop) {
    frame.SendMessage(kMsgCommandState, 0, 2);
    // A refused call: the window is going or the worker is being stopped.
    if (!CallOnUi(frame, [&] {
            PrepareJobStart(frame);
            if (frame.hooks.jobStarted) frame.hooks.jobStarted(job);
            return LRESULT{1};
        })) {
        return std::nullopt;
    }
    const auto loginLimit = JobTimeout(JobType::EnterConfig, frame.timeoutFactor.load());
    std::chrono::milliseconds waited{0};
    int busyRounds = 0;
    bool pause = settle;
    for (;;) {
        if (pause) {
            if (!Pause(stop, kQuietSpan)) return std::nullopt;
            waited += kQuietSpan;
        }
        if (stop.stop_requested()) return std::nullopt;
        const bool force = !settle || busyRounds >= kQuietSpanRounds;
        const bool loginMayWait = waited < loginLimit;
        const LRESULT result = CallOnUi(frame, [&] {
            return static_cast<LRESULT>(ArmAndWrite(frame, job, force, loginMayWait));
        });
        if (result == 0) return std::nullopt;  // refused, as above
        const auto step = static_cast<WriteStep>(result);
        if (step == WriteStep::Written || step == WriteStep::NotSent) return step;
        if (step == WriteStep::LineBusy) ++busyRounds;
        pause = true;
    }
}

// A completed job's outcome as its answer says; an ERROR line wins, as in the result labels.
JobOutcome AnswerOutcome(const EngineWindow& frame) {
    const std::string_view text(frame.rxBuffer, static_cast<std::size_t>(frame.rxLength));
    if (HasErrorLine(text)) return JobOutcome::Error;
    return HasOkLine(text) ? JobOutcome::Ok : JobOutcome::Error;
}

// Ends the job with an outcome that needs no answer; a written job only while it is still on
// the line (the port's going ended it otherwise).
void Report(EngineWindow& frame, const CommandJob& job, JobOutcome outcome) {
    CallOnUi(frame, [&] {
        if (outcome != JobOutcome::NotSent && !TakeJobOffLine(frame)) return LRESULT{0};
        ReportJobEnd(frame, job, outcome);
        return LRESULT{1};
    });
}

// Logs the time-out of the job still on the line; false when the port's going ended it.
bool LogTimeOut(EngineWindow& frame, const CommandJob& job) {
    return CallOnUi(frame, [&] {
               if (!frame.jobOnLine) return LRESULT{0};
               LogAppend(frame, JobResultLine(frame, job, "OutTime"));
               return LRESULT{1};
           }) != 0;
}

// After a time-out the old command's late answer can come just in front of this command's,
// each complete on its own; judged on the first alone, a late OK would pass for this command's.
// Waits until the line has been quiet for a span (at most the settling rounds), so that such an
// answer is judged whole and an ERROR in it wins. False when stopped.
bool WaitForQuietLine(EngineWindow& frame, std::stop_token stop) {
    LRESULT length = CallOnUi(frame, [&] { return LRESULT{frame.rxLength}; });
    for (int round = 0; round < kQuietSpanRounds; ++round) {
        if (!Pause(stop, kQuietSpan)) return false;
        const LRESULT now = CallOnUi(frame, [&] { return LRESULT{frame.rxLength}; });
        if (now == length) return true;
        length = now;
    }
    return !stop.stop_requested();
}

// The result of a completed job: a refusal stores and applies nothing, whatever the kind.
void FinishJob(EngineWindow& frame, const CommandJob& job, bool late) {
    CallOnUi(frame, [&] {
        if (!TakeJobOffLine(frame)) return LRESULT{0};
        const JobOutcome outcome = AnswerOutcome(frame);
        const ResultAction action = JobTypeOf(job.type).result;
        // The write and factory steps log their own refusal; every other kind gets the generic one.
        const bool ownLabel =
            action == ResultAction::WriteOutcome || action == ResultAction::FactoryOutcome;
        const bool labelled = ownLabel || outcome == JobOutcome::Error;
        if (late) {
            LogAppend(frame,
                      LabelText(kResultSection, "LateAnswer", labelled ? " " : "\r\n").str());
        }
        if (outcome == JobOutcome::Error && !ownLabel) {
            LogAppend(frame, LabelText(kResultSection, "CommandError", "\r\n").str());
        } else {
            if (frame.hooks.jobResult) frame.hooks.jobResult(job);
        }
        ReportJobEnd(frame, job, outcome);
        return LRESULT{1};
    });
}

// How much later than its time-out this unit has been seen to answer (LineSync.h).
std::chrono::milliseconds Allowance(EngineWindow& frame) {
    return std::chrono::milliseconds(
        CallOnUi(frame, [&] { return static_cast<LRESULT>(frame.lineSync.allowance.count()); }));
}

// Never 0, which a refused call to the UI thread returns.
enum class LineState { InStep = 1, OutOfStep, Silent };

// Whether the next command's answer will be its own (LineSync.h). Out of step, "AT" is written
// and waited for with the write's time-out plus the lateness seen; once every owed answer and
// its own came, the line is in step. When it is not answered in that time, what did not come
// is taken as lost: the line is in step again when some answer came meanwhile, and silent when
// nothing came at all. Empty when stopped or refused.
std::optional<LineState> BringLineInStep(EngineWindow& frame, std::stop_token stop) {
    const auto state = static_cast<LineState>(CallOnUi(frame, [&] {
        return static_cast<LRESULT>(LineInStep(frame.lineSync) ? LineState::InStep
                                                               : LineState::OutOfStep);
    }));
    if (state != LineState::OutOfStep)
        return state == LineState::InStep ? std::optional(state) : std::nullopt;
    const CommandJob probe{JobType::Resync, std::string(JobCommand(JobType::Resync)), {}, {}};
    const std::optional<WriteStep> step = WriteWhenLineIsFree(frame, probe, true, stop);
    if (!step) return std::nullopt;
    if (*step == WriteStep::NotSent) return LineState::Silent;
    const auto base = JobTimeout(JobType::Resync, frame.timeoutFactor.load());
    Clock::Duration waited{0};
    // A late answer counted while waiting shows how slow the unit is: the wait grows with it.
    for (;;) {
        const auto limit = base + std::chrono::milliseconds(CallOnUi(frame, [&] {
                               return static_cast<LRESULT>(ProbeAllowance(frame.lineSync).count());
                           }));
        if (waited >= limit || frame.answerEvent.WaitFor(EngineClock(), limit - waited, stop))
            break;
        if (stop.stop_requested()) return std::nullopt;
        waited = limit;
    }
    if (stop.stop_requested()) return std::nullopt;
    const LRESULT decided = CallOnUi(frame, [&] {
        const bool onLine = TakeJobOffLine(frame);
        if (onLine && frame.answerEvent.IsSet()) {
            EndProbeInStep(frame.lineSync);
            return static_cast<LRESULT>(LineState::InStep);
        }
        if (frame.pendingJobType == JobType::Resync) frame.pendingJobType = JobType::None;
        const bool heard = ProbeHeardAnything(frame.lineSync);
        ForgetOwedAnswers(frame.lineSync);
        return static_cast<LRESULT>(onLine && heard ? LineState::InStep : LineState::Silent);
    });
    if (decided == 0) return std::nullopt;
    return static_cast<LineState>(decided);
}

// A unit that answered nothing to the probe gets no more commands of this run: the job and the
// queued ones end as not sent, and the log says so.
void DropRunForSilence(EngineWindow& frame, const CommandJob& job) {
    CallOnUi(frame, [&] {
        std::vector<CommandJob> dropped = frame.jobQueue.TakeAll();
        dropped.insert(dropped.begin(), job);
        if (frame.serialPort.IsOpen()) {
            LogAppend(frame, FilledLabel(kResultSection, "SilentNotSent",
                                         {{"n", std::to_string(dropped.size())}}) +
                                 "\r\n");
        }
        ReportNotSent(frame, dropped);
        return LRESULT{1};
    });
}

// Waits for the job's answer until its time-out; a listing's wait also ends once the listing
// stalled (kListingStall), with *stalled set. True when the answer came.
bool WaitForAnswer(EngineWindow& frame, const CommandJob& job, Clock::Duration timeout,
                   std::stop_token stop, bool* stalled) {
    const Completion completion = JobTypeOf(job.type).completion;
    Clock& clock = EngineClock();
    if (completion != Completion::Listing && completion != Completion::FileListing)
        return frame.answerEvent.WaitFor(clock, timeout, stop);
    const Clock::TimePoint deadline = clock.Now() + timeout;
    LRESULT lastLength = -1;
    for (;;) {
        const Clock::Duration left = deadline - clock.Now();
        if (left <= Clock::Duration::zero()) return false;
        const Clock::Duration slice = std::min<Clock::Duration>(left, kListingStall);
        if (frame.answerEvent.WaitFor(clock, slice, stop)) return true;
        if (stop.stop_requested()) return false;
        // How much of the listing is in; -1 before its first parameter line.
        const LRESULT length = CallOnUi(frame, [&] {
            const std::string_view received(frame.rxBuffer,
                                            static_cast<std::size_t>(frame.rxLength));
            return received.find(kListingAnchor) == std::string_view::npos
                       ? LRESULT{-1}
                       : static_cast<LRESULT>(frame.rxLength);
        });
        if (length >= 0 && length == lastLength) {
            *stalled = true;
            return false;
        }
        lastLength = length;
    }
}

// Runs one job; returns true when the line may still carry text the job did not wait for (a
// time-out, a late answer, a command cut short), so the next command waits for a quiet line.
bool RunJob(EngineWindow& frame, const CommandJob& job, bool settle, std::stop_token stop) {
    // Text still arriving (the tail of a greeting, a line the unit sent on its own) is no
    // part of this command's answer: the command waits for a quiet line.
    settle =
        settle || CallOnUi(frame, [&] { return LRESULT{StillArriving(frame, kQuietSpan)}; }) != 0;
    const std::optional<WriteStep> step = WriteWhenLineIsFree(frame, job, settle, stop);
    if (!step) return false;
    if (*step == WriteStep::NotSent) {
        Report(frame, job, JobOutcome::NotSent);
        return true;
    }
    const auto timeout = JobTimeout(job.type, frame.timeoutFactor.load()) + Allowance(frame);
    bool late = false;
    bool stalled = false;
    if (!WaitForAnswer(frame, job, timeout, stop, &stalled)) {
        if (stop.stop_requested()) return false;
        // A port that went ended the job then: nothing more is said of it.
        if (!LogTimeOut(frame, job)) return true;
        // The pending kind stays the timed-out job's, so its answer, should it still come,
        // completes it here instead of being taken for the next command's.
        frame.answerEvent.WaitFor(EngineClock(), kLateAnswerGrace, stop);
        if (stop.stop_requested()) return false;
        late = CallOnUi(frame, [&] { return LRESULT{EndGrace(frame, job.type)}; }) != 0;
        if (!late) {
            // What a stalled listing sent is all that came of it (its end lost on the line, or
            // a unit that stopped): no probe waits for the rest, nor takes its OK for it.
            if (stalled) {
                CallOnUi(frame, [&] {
                    ForgetOwedAnswers(frame.lineSync);
                    return LRESULT{1};
                });
            }
            Report(frame, job, JobOutcome::Timeout);
            return true;
        }
    }
    if ((settle || late) && !WaitForQuietLine(frame, stop)) return false;
    FinishJob(frame, job, late);
    return late;
}

}  // namespace

void WorkerJobThreadProc(EngineWindow* frame, std::stop_token stop) {
    if (!frame) return;
    // Whether the buttons were enabled since the queue last ran dry: once per idle period and
    // login (a login after a reconnect gets its own).
    bool idleNoticeSent = false;
    int noticedLogin = 0;
    // Whether the last job timed out, so that its late answer may still be on the way.
    bool settle = false;
    while (!stop.stop_requested()) {
        CommandJob job;
        if (!frame->jobQueue.TakeJobToRun(job)) {
            const int login = frame->logins;
            if ((!idleNoticeSent || login != noticedLogin) && frame->loggedIn &&
                frame->serialPort.IsOpen()) {
                frame->SendMessage(kMsgCommandState, 1, 2);
                idleNoticeSent = true;
                noticedLogin = login;
            }
            frame->jobQueue.WaitForJob(stop, kWorkerIdlePeriod);
            continue;
        }
        idleNoticeSent = false;
        const std::optional<LineState> line = BringLineInStep(*frame, stop);
        if (!line || *line == LineState::Silent) {
            if (line) DropRunForSilence(*frame, job);
            settle = false;
            frame->jobQueue.JobDone();
            continue;
        }
        settle = RunJob(*frame, job, settle, stop);
        frame->jobQueue.JobDone();
        // The unit is given a pause after each write, as its makers ask; other commands follow
        // at once.
        if (job.type == JobType::WriteParameter && !Pause(stop, kWorkerPollPeriod)) break;
    }
}
