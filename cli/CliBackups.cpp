// history and "diff A B": the automatic backups listed, and two listings compared without a
// unit; a backup's id stands for its file wherever a file is read.
#include <filesystem>

#include "cli/CliCommands.h"
#include "cli/CliListingFile.h"
#include "cli/CliOutput.h"
#include "cli/CliSession.h"
#include "params/BackupStore.h"
#include "params/ConfigFileRead.h"
#include "params/ListingValues.h"

namespace {

constexpr const char* kListingCommand = "\r\nAT+SHOW\r\n";

// The listing a file (or backup) holds; prints why not and returns false when there is none.
bool ReadListing(const std::string& fileOrId, std::string* listing) {
    return ReadCheckedListing(ListingPath(fileOrId), fileOrId, listing);
}

// The unit's listing read now through the session; empty when none came.
std::string ReadUnit(CliSession& session) {
    std::string listing;
    session.SetJobHook([&](const CommandJob& job, JobOutcome outcome) {
        if (job.type != JobType::ReadAll || outcome != JobOutcome::Ok) return;
        listing.assign(session.frame().rxBuffer,
                       static_cast<std::size_t>(session.frame().rxLength));
    });
    if (session.RunJob({JobType::ReadAll, kListingCommand, "", ""}) != JobOutcome::Ok)
        listing.clear();
    return listing;
}

int ListUnitNow(const CliOptions& options) {
    CliSession session(options);
    if (int status = session.Start()) return status;
    if (int status = session.Connect()) return status;
    if (session.LogIn() != kExitDone || !session.StartWorker()) return session.Finish();
    const std::string now = ReadUnit(session);
    if (now.empty()) {
        PrintMessage("the unit sent no complete listing");
        session.Fail(kExitUnit);
        return session.Finish();
    }
    const std::string unit = UnitNameOfListing(now);
    const std::vector<BackupFile> backups = ListBackups(unit);
    if (backups.empty()) PrintMessage("no backups of " + unit + " in " + BackupRoot());
    for (const BackupFile& backup : backups) {
        std::string listing;
        const std::string differing = ReadConfigListing(backup.path, &listing)
                                          ? std::to_string(DifferingValues(listing, now).size())
                                          : "unreadable";
        PrintLine(backup.Id() + "\t" + BackupTimeText(backup) + "\t" + differing);
    }
    return session.Finish();
}

}  // namespace

std::string ListingPath(const std::string& fileOrId) {
    std::error_code ec;
    if (std::filesystem::exists(fileOrId, ec)) return fileOrId;
    const std::optional<BackupFile> backup = FindBackup(fileOrId);
    return backup ? backup->path : fileOrId;
}

int RunHistory(const CliOptions& options) {
    if (!options.port.empty()) return ListUnitNow(options);
    const std::vector<std::string> units =
        options.unit.empty() ? BackedUpUnits() : std::vector<std::string>{options.unit};
    int listed = 0;
    for (const std::string& unit : units) {
        for (const BackupFile& backup : ListBackups(unit)) {
            PrintLine(backup.Id() + "\t" + BackupTimeText(backup) + "\t" + backup.path);
            ++listed;
        }
    }
    if (listed == 0) {
        PrintMessage("no backups" + (options.unit.empty() ? "" : " of " + options.unit) + " in " +
                     BackupRoot());
    }
    return kExitDone;
}

int RunDiffFiles(const CliOptions& options) {
    std::string first;
    std::string second;
    if (!ReadListing(options.file, &first) || !ReadListing(options.secondFile, &second)) {
        return kExitFile;
    }
    for (const ValueDifference& d : DifferingValues(first, second)) {
        PrintLine(FormatWrite(d.name, d.before, d.after, ""));
    }
    return kExitDone;
}
