#include "app/JobResults.h"

#include <string_view>

#include "app/AppWindow.h"
#include "app/CommandState.h"
#include "app/Progress.h"
#include "engine/AnswerMatch.h"
#include "engine/JobSteps.h"
#include "engine/JobTypes.h"
#include "form/AutoBackup.h"
#include "form/ChangedWrites.h"
#include "form/ConfigFiles.h"
#include "form/ListingFlow.h"
#include "ui/Log.h"

namespace {

void LogResult(AppWindow& frame, const CommandJob& job, const char* key) {
    LogAppend(frame, JobResultLine(frame, job, key));
}

// An ERROR line wins over an OK line: an answer that holds both confirms nothing.
void HandleOutcome(AppWindow& frame, const CommandJob& job, const char* success,
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

void HandleJobResult(AppWindow& frame, const CommandJob& job) {
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
