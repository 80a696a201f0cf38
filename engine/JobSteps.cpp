#include "engine/JobSteps.h"

#include <string_view>

#include "app/CommandState.h"
#include "app/FrameWnd.h"
#include "app/Progress.h"
#include "engine/AnswerMatch.h"
#include "engine/FrameTimers.h"
#include "engine/JobTypes.h"
#include "engine/ReceivePath.h"
#include "form/AutoBackup.h"
#include "form/ChangedWrites.h"
#include "form/ConfigFiles.h"
#include "form/DeviceWrite.h"
#include "form/ReadBack.h"
#include "form/WriteReview.h"
#include "settings/Labels.h"
#include "ui/Log.h"

namespace {

constexpr const char* kResultSection = "WorkerJobThreadProc";

void LogResult(CM5Z30FrameWnd& frame, const CommandJob& job, const char* key) {
    LogAppend(frame, JobResultLine(frame, job, key));
}

// An ERROR line wins over an OK line: an answer that holds both confirms nothing.
void HandleOutcome(CM5Z30FrameWnd& frame, const CommandJob& job, const char* success,
                   const char* failure) {
    const std::string_view text(frame.rxBuffer, static_cast<std::size_t>(frame.rxLength));
    if (HasErrorLine(text)) {
        LogResult(frame, job, failure);
    } else if (HasOkLine(text)) {
        // SetTime is a write without a parameter: nothing to store.
        if (job.type == JobType::WriteParameter && !job.key.empty()) {
            frame.parameterTable.SetValue(job.key, job.value);
            RememberConfirmedWrite(frame, job.key);
            NoteWriteConfirmed(frame, job.key);
        }
        LogResult(frame, job, success);
    }
}

}  // namespace

std::string JobResultLine(CM5Z30FrameWnd& frame, const CommandJob& job, const char* key) {
    const std::string label = LabelText(kResultSection, key, "\r\n").str();
    if (job.type != JobType::WriteParameter) return label;
    const std::string written = job.key.empty()
                                    ? job.command.substr(0, job.command.find_first_of("=\r\n"))
                                    : FormLabelOf(frame, job.key);
    return written.empty() ? label : written + ": " + label;
}

void PrepareJobStart(CM5Z30FrameWnd& frame) {
    // A Login awaiting its greeting keeps the line; the job is written once it is answered.
    if (frame.pendingJobType == JobType::EnterConfig) return;
    frame.KillTimer(kPromptTimer);
    frame.pendingJobType = JobType::Settling;
    frame.answerEvent.Reset();
    ClearReceived(frame);
}

bool ArmJobWhenQuiet(CM5Z30FrameWnd& frame, JobType type) {
    if (frame.pendingJobType == JobType::Settling && frame.rxLength == 0) {
        ArmJob(frame, type);
        return true;
    }
    if (frame.pendingJobType == JobType::EnterConfig) return false;
    // Something arrived (a prompt may have set the pending kind back to prompting).
    PrepareJobStart(frame);
    return false;
}

void ArmJob(CM5Z30FrameWnd& frame, JobType type) {
    frame.KillTimer(kPromptTimer);
    frame.pendingJobType = type;
    frame.answerEvent.Reset();
    ClearReceived(frame);
}

void HandleJobResult(CM5Z30FrameWnd& frame, const CommandJob& job) {
    // Every complete listing is the one the connection's backup would hold.
    if (JobTypeOf(job.type).completion == Completion::Listing ||
        JobTypeOf(job.type).completion == Completion::FileListing) {
        RememberListing(frame);
    }
    switch (JobTypeOf(job.type).result) {
        case ResultAction::None:
            break;
        case ResultAction::ParseListing:
            if (frame.rxLength > kListingMinimum) frame.SendMessage(kMsgParseAnswer, 0, 0);
            break;
        case ResultAction::WriteOutcome:
            HandleOutcome(frame, job, "SaveSuccess", "SaveError");
            break;
        case ResultAction::FactoryOutcome:
            HandleOutcome(frame, job, "FactorySuccess", "FactoryError");
            break;
        case ResultAction::SaveFile:
            WriteConfigFile(frame);
            break;
        case ResultAction::ApplyFile:
            ParseApplyAnswer(frame);
            break;
        case ResultAction::CheckWrites:
            CheckReadBack(frame);
            break;
        case ResultAction::LoggedOut:
            frame.SendMessage(kMsgCommandState, 0, 0);
            break;
        case ResultAction::NetMode:
            ShowNetMode(frame);
            break;
    }
}
