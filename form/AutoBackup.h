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

#include "form/FormWindow.h"
#include "params/BackupStore.h"

struct CommandJob;

// A complete listing is in the receive buffer: it is what the unit holds now, and what the
// next write's backup holds.
void RememberListing(FormWindow& frame);

// The port opened or closed: nothing read, nothing backed up on this connection.
void ForgetConnectionBackup(FormWindow& frame);

// A run of writes is being collected: a backup refused before may be tried again.
void StartWriteRun(FormWindow& frame);

// Whether the job changes what the unit holds: a parameter's write or the factory restore.
bool ChangesUnit(const CommandJob& job);

// Before the job's command goes out. The first job of a run that changes the unit has the
// remembered listing backed up and logs where ([Backup] Saved, or [Backup] Same when the
// newest backup holds it already). When no backup can be taken (nothing read, the disk full,
// the folder not one), asks whether to write without one ([Backup] FailedAsk): yes logs
// [Backup] Failed and the run goes ahead; no logs [Backup] Stopped and returns false, for this
// job and the run's later ones, which are then not sent. Returns true to send the job.
bool BackUpBeforeFirstWrite(FormWindow& frame, const CommandJob& job);

// "RestoreFactory": the unit is backed up now (unless this run's backup is taken), then a box
// asks to go on, naming the backup ([Backup] FactoryConfirm and its path) or saying that none
// could be taken ([Backup] FactoryNoBackup), Cancel the default. True when the user chose OK.
bool ConfirmFactoryRestore(FormWindow& frame);
