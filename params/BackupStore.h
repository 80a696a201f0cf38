#pragma once
// The automatic backups: each unit's listings as .cfg files (the same bytes SaveToFile writes)
// under $XDG_DATA_HOME/dtuconfig/backups/<unit>/<UTC time>.cfg, at most kBackupsKept a unit.
// A backup is named by its id "<unit>/<time>", which the history lists and apply accepts.
//
// Threads: any thread; the files are the only state.
#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::size_t kBackupsKept = 50;

struct BackupFile {
    std::string unit;  // the unit's folder (UnitNameOfListing)
    std::string time;  // the file's name without ".cfg": "20261208T160512.345Z", maybe "_02"
    std::string path;

    std::string Id() const { return unit + "/" + time; }
};

// The folder of every unit's backups: "backups" in the user's data folder (sys::UserFolder:
// $XDG_DATA_HOME/dtuconfig/backups, %LOCALAPPDATA%\dtuconfig\backups); "" with the reason in
// *why when the system names no data folder.
std::string BackupRoot(std::string* why = nullptr);

// Stores the listing as the unit's backup taken at `when`, for its owner alone, written whole
// or not at all and never over another backup: a name taken (by another process too) gets a
// suffix. Then removes the unit's oldest backups beyond kBackupsKept, never the one just stored
// nor the file at `keep` (the backup being applied). Returns false with the reason.
bool StoreBackup(const std::string& unit, std::string_view listing,
                 std::chrono::system_clock::time_point when, BackupFile* stored, std::string* error,
                 std::string_view keep = {});

// The unit's newest backup when it holds exactly the bytes a backup of the listing would hold.
std::optional<BackupFile> NewestBackupHolding(const std::string& unit, std::string_view listing);

// The unit's backups, oldest first; files of other names in its folder are not backups.
std::vector<BackupFile> ListBackups(const std::string& unit);

// The units that have a backup folder, by name.
std::vector<std::string> BackedUpUnits();

// The backup an id names, when it exists.
std::optional<BackupFile> FindBackup(std::string_view id);

// When the backup was taken, for people: "2026-12-08 16:05:12 UTC".
std::string BackupTimeText(const BackupFile& backup);
