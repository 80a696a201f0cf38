#include "engine/JobSteps.h"

#include <string_view>

#include "engine/EngineWindow.h"
#include "engine/FrameTimers.h"
#include "engine/ReceivePath.h"
#include "settings/Labels.h"

std::string JobResultLine(EngineWindow& frame, const CommandJob& job, const char* key) {
    const std::string label = LabelText("WorkerJobThreadProc", key, "\r\n").str();
    if (job.type != JobType::WriteParameter) return label;
    const std::string written = job.key.empty()
                                    ? job.command.substr(0, job.command.find_first_of("=\r\n"))
                                : frame.hooks.parameterLabel ? frame.hooks.parameterLabel(job.key)
                                                             : job.key;
    return written.empty() ? label : written + ": " + label;
}

void PrepareJobStart(EngineWindow& frame) {
    // A Login awaiting its greeting keeps the line; the job is written once it is answered.
    if (frame.pendingJobType == JobType::EnterConfig) return;
    frame.KillTimer(kPromptTimer);
    frame.pendingJobType = JobType::Settling;
    frame.answerEvent.Reset();
    ClearReceived(frame);
}

bool ArmJobWhenQuiet(EngineWindow& frame, JobType type) {
    if (frame.pendingJobType == JobType::Settling && frame.rxLength == 0) {
        ArmJob(frame, type);
        return true;
    }
    if (frame.pendingJobType == JobType::EnterConfig) return false;
    // Something arrived (a prompt may have set the pending kind back to prompting).
    PrepareJobStart(frame);
    return false;
}

void ArmJob(EngineWindow& frame, JobType type) {
    frame.KillTimer(kPromptTimer);
    frame.pendingJobType = type;
    frame.answerEvent.Reset();
    ClearReceived(frame);
}
