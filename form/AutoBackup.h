#pragma once
// Every run of writes (Save, a loaded file or backup applied, "set", "provision", the factory
// restore) is preceded by a backup of what the unit holds at that moment: the listing of the
// last complete read goes into the backup store (BackupStore.h), unless the unit's newest
// backup holds exactly that already. A unit that cannot be backed up is written only when the
// engineer (or --no-backup) says so (Questions.h).
//
// Threads: UI thread only (the worker reaches these through its job steps).
#include <optional>
#include <string>

#include "params/BackupStore.h"

class CM5Z30FrameWnd;
struct CommandJob;

// What a connection knows for its backup.
struct ConnectionBackup {
    enum class State {
        Due,            // the next write is preceded by a backup
        Taken,          // the backup of what the unit holds is `taken`
        WithoutBackup,  // none could be taken, and the writes go ahead all the same
        Refused,        // none could be taken, and this run's writes are not sent
    };
    std::string listing;              // the last complete listing read on this connection
    std::optional<BackupFile> taken;  // the backup of the listing, once taken
    State state = State::Due;
};

// A complete listing is in the receive buffer: it is what the unit holds now, and what the
// next write's backup holds.
void RememberListing(CM5Z30FrameWnd& frame);

// The port opened or closed: nothing read, nothing backed up on this connection.
void ForgetConnectionBackup(CM5Z30FrameWnd& frame);

// A run of writes is being collected: a backup refused before may be tried again.
void StartWriteRun(CM5Z30FrameWnd& frame);

// Whether the job changes what the unit holds: a parameter's write or the factory restore.
bool ChangesUnit(const CommandJob& job);

// Before the job's command goes out. The first job of a run that changes the unit has the
// remembered listing backed up and logs where ([Backup] Saved, or [Backup] Same when the
// newest backup holds it already). When no backup can be taken (nothing read, the disk full,
// the folder not one), asks whether to write without one ([Backup] FailedAsk): yes logs
// [Backup] Failed and the run goes ahead; no logs [Backup] Stopped and returns false, for this
// job and the run's later ones, which are then not sent. Returns true to send the job.
bool BackUpBeforeFirstWrite(CM5Z30FrameWnd& frame, const CommandJob& job);

// "RestoreFactory": the unit is backed up now (unless this run's backup is taken), then a box
// asks to go on, naming the backup ([Backup] FactoryConfirm and its path) or saying that none
// could be taken ([Backup] FactoryNoBackup), Cancel the default. True when the user chose OK.
bool ConfirmFactoryRestore(CM5Z30FrameWnd& frame);
