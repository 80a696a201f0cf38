#pragma once
// "History": the connected unit's automatic backups, newest first, each with how many of its
// values differ from the unit's last listing; the chosen one is loaded as a .cfg file would be,
// so its differences are read against the unit, reviewed and written as the engineer keeps them.
//
// Threads: UI thread only.
#include <string>
#include <vector>

#include "params/BackupStore.h"

class FormWindow;

struct HistoryEntry {
    BackupFile backup;
    int differing = -1;  // values that differ from the unit's listing; -1: unreadable
};

// When the backup was taken, in the computer's local time ("2026-12-09 00:05:12"); the file
// names keep UTC. The name's own text when it is not a backup's time.
std::string BackupLocalTime(const BackupFile& backup);

// The backups of the unit whose listing was last read on this connection, newest first; empty
// when nothing was read.
std::vector<HistoryEntry> UnitHistory(FormWindow& frame);

// The button: asks for a backup ([History] Caption, Prompt, one [History] Row each) and loads
// the chosen one (LoadConfigFile). A box says why when nothing was read or none is stored.
void ShowHistory(FormWindow& frame);
