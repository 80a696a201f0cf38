#pragma once
// A unit is backed up before the first write of each connection (a parameter write or the
// factory restore, whichever button or subcommand queued it): the listing of the last
// complete read on that connection goes into the backup store (BackupStore.h).
//
// Threads: UI thread only (the worker reaches these through its job steps).
#include <optional>
#include <string>

#include "params/BackupStore.h"

class CM5Z30FrameWnd;
struct CommandJob;

// What a connection knows for its backup.
struct ConnectionBackup {
    std::string listing;              // the last complete listing read on this connection
    std::optional<BackupFile> taken;  // the backup taken on it, once taken
    bool tried = false;               // the first write came: taken or failed, once
};

// A complete listing is in the receive buffer: it is the one a backup would hold.
void RememberListing(CM5Z30FrameWnd& frame);

// The port opened or closed: nothing read, nothing backed up on this connection.
void ForgetConnectionBackup(CM5Z30FrameWnd& frame);

// Whether the job changes what the unit holds: a parameter's write or the factory restore.
bool ChangesUnit(const CommandJob& job);

// Before the job's command goes out: the first job of the connection that changes the unit
// stores the remembered listing as a backup and logs where ([Backup] Saved); a backup that
// cannot be stored, or a connection that read no listing, is logged ([Backup] Failed,
// [Backup] NoListing) and the write goes ahead. Later jobs do nothing.
void BackUpBeforeFirstWrite(CM5Z30FrameWnd& frame, const CommandJob& job);

// "RestoreFactory": the connection's backup is taken now (unless it was already), then a box
// asks to go on, naming the backup ([Backup] FactoryConfirm and its path) or saying that none
// could be taken ([Backup] FactoryNoBackup). True when the user chose OK.
bool ConfirmFactoryRestore(CM5Z30FrameWnd& frame);
