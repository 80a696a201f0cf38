#include "form/AutoBackup.h"

#include <chrono>

#include "form/FormWindow.h"  // and the job queue's types
#include "form/Questions.h"
#include "params/Listing.h"
#include "params/ListingValues.h"
#include "settings/Labels.h"
#include "ui/Dialogs.h"
#include "ui/Log.h"

namespace {

using State = ConnectionBackup::State;

// Backs the remembered listing up (or finds it in the newest backup) and logs where; false
// with the reason when there is none.
bool TakeBackup(FormWindow& frame, std::string* reason) {
    ConnectionBackup& backup = frame.connectionBackup;
    if (backup.listing.empty()) {
        *reason = LabelText("Backup", "NoListing").str();
        return false;
    }
    const std::string unit = UnitNameOfListing(backup.listing);
    if (std::optional<BackupFile> same = NewestBackupHolding(unit, backup.listing)) {
        backup.taken = same;
        LogAppend(frame, LabelText("Backup", "Same").str() + same->path + "\r\n");
        return true;
    }
    BackupFile stored;
    // The backup being applied stays, whatever pruning would take.
    if (!StoreBackup(unit, backup.listing, std::chrono::system_clock::now(), &stored, reason,
                     frame.configFilePath.str())) {
        return false;
    }
    backup.taken = stored;
    LogAppend(frame, LabelText("Backup", "Saved").str() + stored.path + "\r\n");
    return true;
}

std::string FailedQuestion(const std::string& reason) {
    return FilledLabel("Backup", "FailedAsk", {{"reason", reason}});
}

}  // namespace

void RememberListing(FormWindow& frame) {
    if (frame.rxLength <= kListingMinimum) return;
    ConnectionBackup& backup = frame.connectionBackup;
    backup.listing.assign(frame.rxBuffer, static_cast<std::size_t>(frame.rxLength));
    // What the unit holds was read again: the next write is backed up (or found backed up).
    backup.state = State::Due;
    backup.taken.reset();
}

void ForgetConnectionBackup(FormWindow& frame) {
    frame.connectionBackup = ConnectionBackup{};
}

void StartWriteRun(FormWindow& frame) {
    if (frame.connectionBackup.state == State::Refused) frame.connectionBackup.state = State::Due;
}

bool ChangesUnit(const CommandJob& job) {
    // The clock's write (SetTime) has no parameter: it changes no setting.
    return (job.type == JobType::WriteParameter && !job.key.empty()) ||
           job.type == JobType::RestoreFactory;
}

bool BackUpBeforeFirstWrite(FormWindow& frame, const CommandJob& job) {
    ConnectionBackup& backup = frame.connectionBackup;
    if (!ChangesUnit(job)) return true;
    switch (backup.state) {
        case State::Taken:
        case State::WithoutBackup:
            return true;
        case State::Refused:
            return false;
        case State::Due:
            break;
    }
    std::string reason;
    if (TakeBackup(frame, &reason)) {
        backup.state = State::Taken;
        return true;
    }
    if (AskToGoOn(frame, Question::WriteWithoutBackup, FailedQuestion(reason))) {
        backup.state = State::WithoutBackup;
        LogAppend(frame, LabelText("Backup", "Failed").str() + reason + "\r\n");
        return true;
    }
    backup.state = State::Refused;
    LogAppend(frame, LabelText("Backup", "Stopped").str() + reason + "\r\n");
    return false;
}

bool ConfirmFactoryRestore(FormWindow& frame) {
    ConnectionBackup& backup = frame.connectionBackup;
    std::string reason;
    if (backup.state != State::Taken && TakeBackup(frame, &reason)) backup.state = State::Taken;
    const bool taken = backup.state == State::Taken && backup.taken;
    const std::string text = taken
                                 ? LabelText("Backup", "FactoryConfirm").str() + backup.taken->path
                                 : LabelText("Backup", "FactoryNoBackup").str() + "\n" + reason;
    if (ui::MessageBox(text, ProgramTitle(), MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON2) !=
        IDOK) {
        return false;
    }
    // The engineer chose to restore without a backup: the restore's own step asks no more.
    if (!taken) backup.state = State::WithoutBackup;
    return true;
}
