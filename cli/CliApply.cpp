// diff and apply: a .cfg file into the form, the unit read, the differing shown parameters
// written (apply) or only printed (diff, apply --dry-run).
#include "cli/CliCommands.h"
#include "cli/CliListingFile.h"
#include "cli/CliOutput.h"
#include "cli/CliSession.h"
#include "form/ConfigFiles.h"
#include "params/ParameterTable.h"

namespace {

// Whether the file can be applied at all; prints why not.
bool IsListingFile(const std::string& path, const std::string& shown) {
    std::string listing;
    return ReadCheckedListing(path, shown, &listing);
}

}  // namespace

int RunApply(const CliOptions& options) {
    const bool dryRun = options.command == "diff" || options.dryRun;
    // Checked before the port is touched: a bad file never costs the unit a login.
    const std::string path = ListingPath(options.file);
    if (!IsListingFile(path, options.file)) return kExitFile;

    CliSession session(options);
    if (int status = session.Start()) return status;
    if (int status = session.Connect()) return status;
    if (session.LogIn() != kExitDone) return session.Finish();

    // "Load from file": the form shows the file, its layout rules run, a read-for-apply is
    // queued; the worker starts only once the form has settled.
    CM5Z30FrameWnd& frame = session.frame();
    session.dialogs().openPath = path;
    LoadFromFile(frame);
    if (!LoadedFileParameters(frame)) {
        PrintMessage("cannot read " + path);
        session.Fail(kExitFile);
        return session.Finish();
    }
    session.SettleLayout();

    bool collected = false;
    session.SetJobHook([&](const CommandJob& job, JobOutcome outcome) {
        if (job.type != JobType::ReadForApply || outcome != JobOutcome::Ok || collected) return;
        // The result step has just queued the writes; the worker waits until this returns.
        collected = true;
        const std::vector<CommandJob> writes = session.TakeQueuedJobs();
        // The file is checked whole first: a value refused, or a file of another type of
        // unit, and nothing of it goes out.
        if (!frame.refusedWrites.empty()) session.Fail(kExitUsage);
        if (session.ExitCode() != kExitDone) {
            PrintMessage("nothing was written");
            return;
        }
        if (!dryRun) {
            session.QueueWrites(writes);
            return;
        }
        for (const PlannedWrite& write : session.PlanWrites(writes)) {
            PrintLine(FormatWrite(write.name, write.oldValue, write.newValue, ""));
        }
    });
    if (!session.StartWorker()) return session.Finish();
    session.WaitForJob(JobType::ReadForApply, 0);
    return session.FinishWrites(collected);
}
