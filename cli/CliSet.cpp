// set: the unit read into the form, each NAME=VALUE shown in its control as if the unit had
// sent it, then the form written as "Save" writes it.
#include <set>

#include "cli/CliCommands.h"
#include "cli/CliOutput.h"
#include "cli/CliSession.h"
#include "engine/ReceivePath.h"
#include "form/ChangedWrites.h"
#include "form/ChannelSwitches.h"
#include "form/DeviceForm.h"
#include "form/DeviceWrite.h"
#include "form/TabTable.h"
#include "params/Listing.h"
#include "params/ParameterTable.h"
#include "params/ValueText.h"
#include "ui/PaintManager.h"

namespace {

// A parameter "set" can write: a field, a list, or a transfer-channel mask.
bool IsSettable(const std::string& name, const ParameterEntry& entry) {
    return entry.kind == ControlKind::Edit || entry.kind == ControlKind::Combobox ||
           (entry.kind == ControlKind::Line && FindChannelEntry(name) != nullptr);
}

bool HasControl(CM5Z30FrameWnd& frame, const std::string& name) {
    if (const ChannelEntry* channels = FindChannelEntry(name)) {
        for (const ChannelSwitch& s : channels->switches) {
            if (frame.paintManager.FindControl(std::string(s.name))) return true;
        }
        return false;
    }
    return frame.paintManager.FindControl(name) != nullptr;
}

// The assignments as given, checked without the unit; an empty text when they are fine.
std::string CheckOffline(const std::vector<Assignment>& assignments) {
    ParameterTable table;
    BuildParameterTable(table);
    std::set<std::string> seen;
    for (const Assignment& a : assignments) {
        const ParameterEntry* entry = table.FindParameter(a.name);
        if (!entry) {
            return "unknown parameter \"" + a.name +
                   "\": NAME is a control name, such as \"Server's Ip\" (see read)";
        }
        if (!IsSettable(a.name, *entry)) return "\"" + a.name + "\" cannot be written";
        if (!seen.insert(a.name).second) return "\"" + a.name + "\" is given twice";
        // The same rule the form applies to a typed value: a control byte would end the
        // command early and send the rest to the unit as a command of its own.
        if (HoldsControlByte(a.value)) {
            return "the value of \"" + a.name +
                   "\" holds a control character (such as CR or LF) and is refused; "
                   "nothing was written";
        }
    }
    return {};
}

// Why the collected writes do not carry an assignment; empty when they do (or when the unit
// holds the value already).
std::string CheckCollected(CM5Z30FrameWnd& frame, const Assignment& a,
                           const std::vector<CommandJob>& jobs) {
    const ParameterEntry& entry = *frame.parameterTable.FindParameter(a.name);
    const CommandJob* written = nullptr;
    for (const CommandJob& job : jobs) {
        if (job.key != a.name) continue;
        if (job.value == a.value) return {};
        written = &job;
    }
    if (!written && entry.value == a.value) return {};
    const std::string what = "\"" + a.name + "=" + UnitText(a.value) + "\"";
    if (!IsOnScreen(frame, a.name)) {
        return what + " is not written: the unit's other settings hide it (or its tab is off)";
    }
    if (written) {
        return what + " cannot be shown in its control, which would write \"" +
               UnitText(written->value) + "\"";
    }
    return what + " cannot be shown in its control, which keeps the unit's \"" +
           UnitText(entry.value) + "\"";
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
        if (job.type != ReadAll || outcome != JobOutcome::Ok || listed) return;
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
        if (refused) {
            PrintMessage("nothing was written");
            session.Fail(kExitUsage);
            return;
        }
        session.QueueWrites(writes);
    });
    session.RunJob({ReadAll, kListingCommand, "", ""});
    return session.FinishWrites(collected);
}
