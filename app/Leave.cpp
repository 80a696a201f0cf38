#include "app/Leave.h"

#include <string>
#include <utility>
#include <vector>

#include "app/AppWindow.h"
#include "app/CommandState.h"
#include "app/Progress.h"
#include "engine/FrameTimers.h"
#include "engine/JobEnd.h"
#include "engine/JobTypes.h"
#include "form/PendingEdits.h"
#include "settings/Labels.h"
#include "ui/Log.h"

namespace {

constexpr const char* kSection = "Leave";
// How often the line is looked at while it is wound down; no job waits less than this.
constexpr UINT kLeaveCheckMs = 50;

void RunWhenLineIsDone(AppWindow& frame) {
    if (!frame.leaveThen || !frame.jobQueue.IsIdle()) return;
    frame.KillTimer(kLeaveTimer);
    // Should the window stay after all (a restart that failed), it works as before.
    frame.jobQueue.AcceptOnly(JobType::None);
    // Taken out first: the window may be gone once it has run.
    const std::function<void()> then = std::exchange(frame.leaveThen, nullptr);
    then();
}

}  // namespace

void RequestClose(AppWindow& frame, std::function<void()> close) {
    if (IsLeaving(frame)) {
        frame.KillTimer(kLeaveTimer);
        frame.leaveThen = nullptr;
        frame.jobQueue.AcceptOnly(JobType::None);
        close();
        return;
    }
    if (!MayDiscardPendingEdits(frame, "Close")) return;
    LeaveWhenLineIsDone(frame, std::move(close));
}

void LeaveWhenLineIsDone(AppWindow& frame, std::function<void()> then) {
    if (!frame.serialPort.IsOpen() || !frame.HasWorker()) return then();
    // What the command on the line would queue after it (a read-back, a retry) never goes.
    frame.jobQueue.AcceptOnly(JobType::Quit);
    std::string notSent;
    const std::vector<CommandJob> dropped = frame.jobQueue.TakeAll();
    ReportNotSent(frame, dropped);
    for (const CommandJob& job : dropped) {
        if (job.type == JobType::WriteParameter) {
            notSent += (notSent.empty() ? "" : ", ") + JobName(frame, job);
        }
    }
    if (!notSent.empty()) {
        LogAppend(frame, FilledLabel(kSection, "NotSent", {{"names", notSent}}) + "\r\n");
    }
    if (frame.loggedIn) {
        frame.jobQueue.PushJob(
            CommandJob{JobType::Quit, std::string(JobCommand(JobType::Quit)), {}, {}});
    }
    frame.leaveThen = std::move(then);
    if (frame.jobQueue.IsIdle()) return RunWhenLineIsDone(frame);
    // Nothing new is started while the line is wound down, and nothing dropped.
    ShowCommandState(frame, 0, kBusyGroupIndex);
    WithdrawCancel(frame);
    LogAppend(frame, LabelText(kSection, "Waiting", "\r\n").str());
    frame.SetTimer(kLeaveTimer, kLeaveCheckMs, [&frame](UINT) { RunWhenLineIsDone(frame); });
}

bool IsLeaving(const AppWindow& frame) {
    return static_cast<bool>(frame.leaveThen);
}
