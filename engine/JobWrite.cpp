#include "engine/JobWrite.h"

#include "engine/EngineWindow.h"
#include "engine/JobSteps.h"
#include "settings/Labels.h"
#include "ui/Log.h"

WriteStep ArmAndWrite(EngineWindow& frame, const CommandJob& job, bool force, bool loginMayWait) {
    if (frame.pendingJobType == JobType::EnterConfig) {
        if (loginMayWait) return WriteStep::LoginPending;
        force = true;  // the greeting never came: the Login has had its time
    }
    if (force) {
        ArmJob(frame, job.type);
    } else if (!ArmJobWhenQuiet(frame, job.type)) {
        return WriteStep::LineBusy;
    }
    // A write whose backup could not be taken goes only where the engineer said so.
    if (frame.hooks.beforeWrite && !frame.hooks.beforeWrite(job)) {
        frame.pendingJobType = JobType::None;
        return WriteStep::NotSent;
    }
    const auto size = static_cast<unsigned>(job.command.size());
    if (frame.serialPort.WriteBytes(job.command.data(), size) < size) {
        frame.pendingJobType = JobType::None;
        LogAppend(frame, (LabelText("WorkerJobThreadProc", "NotSent") + ":" +
                          std::string_view(job.command))
                             .str());
        return WriteStep::NotSent;
    }
    frame.jobOnLine = job;
    NoteCommandWritten(frame.lineSync);
    if (job.type == JobType::Resync) StartProbe(frame.lineSync);
    // Logged after the write and before any answer can be handled: the log keeps line order.
    LogAppend(frame, (LabelText("ComSend", "send") + ":" + std::string_view(job.command)).str());
    return WriteStep::Written;
}

bool EndGrace(EngineWindow& frame, JobType type) {
    if (!frame.jobOnLine) return false;
    if (frame.answerEvent.IsSet()) return true;
    if (frame.pendingJobType == type) frame.pendingJobType = JobType::None;
    // Its answer may still come: until it did or a probe settled it, the line is out of step.
    MarkNewestPastGrace(frame.lineSync);
    return false;
}
