#include "engine/JobWrite.h"

#include "app/FrameWnd.h"
#include "engine/JobSteps.h"
#include "form/AutoBackup.h"
#include "settings/Labels.h"
#include "ui/Log.h"

WriteStep ArmAndWrite(CM5Z30FrameWnd& frame, const CommandJob& job, bool force, bool loginMayWait) {
    if (frame.pendingJobType == JobType::EnterConfig) {
        if (loginMayWait) return WriteStep::LoginPending;
        force = true;  // the greeting never came: the Login has had its time
    }
    if (force) {
        ArmJob(frame, job.type);
    } else if (!ArmJobWhenQuiet(frame, job.type)) {
        return WriteStep::LineBusy;
    }
    BackUpBeforeFirstWrite(frame, job);
    const auto size = static_cast<unsigned>(job.command.size());
    if (frame.serialPort.WriteBytes(job.command.data(), size) < size) {
        frame.pendingJobType = JobType::None;
        LogAppend(frame, (LabelText("WorkerJobThreadProc", "NotSent") + ":" +
                          std::string_view(job.command))
                             .str());
        return WriteStep::NotSent;
    }
    frame.jobOnLine = job;
    // Logged after the write and before any answer can be handled: the log keeps line order.
    LogAppend(frame, (LabelText("ComSend", "send") + ":" + std::string_view(job.command)).str());
    return WriteStep::Written;
}

bool EndGrace(CM5Z30FrameWnd& frame, JobType type) {
    if (!frame.jobOnLine) return false;
    if (frame.answerEvent.IsSet()) return true;
    if (frame.pendingJobType == type) frame.pendingJobType = JobType::None;
    return false;
}
