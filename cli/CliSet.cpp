// set: the unit read into the form, each NAME=VALUE shown in its control as if the unit had
// sent it, then the form written as "Save" writes it.
#include <set>

#include "cli/CliAssignments.h"
#include "cli/CliCommands.h"
#include "cli/CliOutput.h"
#include "cli/CliSession.h"
#include "form/ChangedWrites.h"
#include "form/DeviceForm.h"
#include "params/Listing.h"
#include "params/ParameterTable.h"

namespace {

// The assignments as given, checked without the unit; an empty text when they are fine.
std::string CheckOffline(const std::vector<Assignment>& assignments) {
    ParameterTable table;
    BuildParameterTable(table);
    std::set<std::string> seen;
    for (const Assignment& a : assignments) {
        if (std::string problem = CheckAssignment(table, a); !problem.empty()) return problem;
        if (std::string problem = CheckGivenValue(a); !problem.empty()) {
            return problem + "; nothing was written";
        }
        if (!seen.insert(a.name).second) return "\"" + a.name + "\" is given twice";
    }
    return {};
}

}  // namespace

int RunSet(const CliOptions& options) {
    if (const std::string problem = CheckOffline(options.assignments); !problem.empty()) {
        PrintMessage(problem);
        return kExitUsage;
    }
    CliSession session(options);
    if (int status = session.Start()) return status;
    CM5Z30FrameWnd& frame = session.frame();
    for (const Assignment& a : options.assignments) {
        if (!HasControl(frame, a.name)) {
            PrintMessage("the form has no control \"" + a.name + "\"");
            return kExitUsage;
        }
    }
    if (int status = session.Connect()) return status;
    if (session.LogIn() != kExitDone || !session.StartWorker()) return session.Finish();

    bool listed = false;
    bool collected = false;
    session.SetJobHook([&](const CommandJob& job, JobOutcome outcome) {
        if (job.type != JobType::ReadAll || outcome != JobOutcome::Ok || listed) return;
        listed = true;
        // Only a listing this long was parsed into the form by the result step.
        if (frame.rxLength <= kListingMinimum) return;
        collected = true;
        // The worker waits until this returns: what is collected here cannot race it.
        session.SettleLayout();
        for (const Assignment& a : options.assignments) {
            ParameterEntry sent = *frame.parameterTable.FindParameter(a.name);
            sent.value = a.value;
            ShowEntryValue(frame, a.name, sent);
        }
        session.SettleLayout();
        CollectChangedWrites(frame);
        const std::vector<CommandJob> writes = session.TakeQueuedJobs();
        bool refused = false;
        for (const Assignment& a : options.assignments) {
            if (const std::string problem = CheckCollected(frame, a, writes); !problem.empty()) {
                PrintMessage(problem);
                refused = true;
            }
        }
        // The form's own refusals (a character the unit's code page lacks...) were said as
        // they came: nothing goes out either.
        if (!frame.refusedWrites.empty()) session.Fail(kExitUsage);
        if (refused || session.ExitCode() != kExitDone) {
            PrintMessage("nothing was written");
            session.Fail(kExitUsage);
            return;
        }
        session.QueueWrites(writes);
    });
    session.RunJob({JobType::ReadAll, kListingCommand, "", ""});
    return session.FinishWrites(collected);
}
