#include "form/AutoBackup.h"

#include <chrono>

#include "app/FrameWnd.h"  // and the job queue's types
#include "form/ListingValues.h"
#include "params/Listing.h"
#include "settings/Labels.h"
#include "ui/Dialogs.h"
#include "ui/Log.h"

void RememberListing(CM5Z30FrameWnd& frame) {
    if (frame.rxLength <= kListingMinimum) return;
    frame.connectionBackup.listing.assign(frame.rxBuffer, static_cast<std::size_t>(frame.rxLength));
}

void ForgetConnectionBackup(CM5Z30FrameWnd& frame) {
    frame.connectionBackup = ConnectionBackup{};
}

bool ChangesUnit(const CommandJob& job) {
    // The clock's write (SetTime) has no parameter: it changes no setting.
    return (job.type == JobType::WriteParameter && !job.key.empty()) ||
           job.type == JobType::RestoreFactory;
}

void BackUpBeforeFirstWrite(CM5Z30FrameWnd& frame, const CommandJob& job) {
    ConnectionBackup& backup = frame.connectionBackup;
    if (backup.tried || !ChangesUnit(job)) return;
    backup.tried = true;
    if (backup.listing.empty()) {
        LogAppend(frame, LabelText("Backup", "NoListing", "\r\n").str());
        return;
    }
    BackupFile stored;
    std::string error;
    if (!StoreBackup(UnitNameOfListing(backup.listing), backup.listing,
                     std::chrono::system_clock::now(), &stored, &error)) {
        LogAppend(frame, LabelText("Backup", "Failed").str() + error + "\r\n");
        return;
    }
    backup.taken = stored;
    LogAppend(frame, LabelText("Backup", "Saved").str() + stored.path + "\r\n");
}

bool ConfirmFactoryRestore(CM5Z30FrameWnd& frame) {
    BackUpBeforeFirstWrite(frame, CommandJob{JobType::RestoreFactory, {}, {}, {}});
    const std::optional<BackupFile>& taken = frame.connectionBackup.taken;
    const std::string text = taken ? LabelText("Backup", "FactoryConfirm").str() + taken->path
                                   : LabelText("Backup", "FactoryNoBackup").str();
    return ui::MessageBox(text, "DTU", MB_OKCANCEL | MB_ICONWARNING) == IDOK;
}
