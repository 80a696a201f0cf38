// provision's run on one port, as a child process of its own: the unit waited for and logged
// into, read, the template and the unit's row written as "Load from file" and "set" write
// them, read back, and a report written.
#include "app/FrameWnd.h"
#include "cli/CliAssignments.h"
#include "cli/CliCommands.h"
#include "cli/CliOutput.h"
#include "cli/CliProvisionProtocol.h"
#include "cli/CliSession.h"
#include "cli/CliUnitReport.h"
#include "cli/CliUnitsFile.h"
#include "cli/Console.h"
#include "engine/JobTypes.h"
#include "form/ChangedWrites.h"
#include "form/ConfigFiles.h"
#include "form/DeviceForm.h"
#include "params/Listing.h"

namespace {

constexpr const char* kModemIdName = "Modem'sID number";
constexpr const char* kDeviceTypeName = "Device Type";

void Step(const std::string& text) {
    PrintLine(std::string(kStepLine) + "\t" + text);
}

// The unit's row of the units' file: by its port, or by the key parameter's value the unit
// reported. Empty with *problem when there is none.
std::vector<Assignment> UnitRow(const UnitsFile& units, const std::string& port,
                                const std::map<std::string, std::string>& held,
                                std::string* problem) {
    if (units.columns.empty()) return {};
    const std::string& key = units.columns[0];
    std::string value = port;
    if (key != kPortKey) {
        auto it = held.find(key);
        value = it == held.end() ? std::string() : it->second;
    }
    const int row = FindUnitRow(units, value);
    if (row < 0) {
        *problem = "the units' file has no row for " + key + " \"" + UnitText(value) + "\"";
        return {};
    }
    std::vector<Assignment> assignments = RowAssignments(units, row);
    // The key names this unit: the template's value of it must not replace the unit's own.
    if (key != kPortKey) assignments.insert(assignments.begin(), {key, value});
    return assignments;
}

// Shows the row in the form over the loaded template, collects what "Save" would write and
// checks that every value of the row made it; the problems when one did not.
std::vector<std::string> CollectUnitWrites(CliSession& session, const std::vector<Assignment>& row,
                                           std::vector<CommandJob>* writes) {
    CM5Z30FrameWnd& frame = session.frame();
    // The template's writes as the apply step queued them: collected again with the row below.
    session.TakeQueuedJobs();
    session.SettleLayout();
    for (const Assignment& a : row) {
        ParameterEntry shown = *frame.parameterTable.FindParameter(a.name);
        shown.value = a.value;
        ShowEntryValue(frame, a.name, shown);
    }
    session.SettleLayout();
    CollectChangedWrites(frame);
    *writes = session.TakeQueuedJobs();
    std::vector<std::string> problems;
    for (const Assignment& a : row) {
        if (std::string problem = CheckCollected(frame, a, *writes); !problem.empty())
            problems.push_back(problem);
    }
    return problems;
}

constexpr const char* kVerified = "verified";
constexpr const char* kNothingToWrite = "nothing to write";

// What the read-back says of the unit's writes.
std::string ReadBackVerdict(const UnitReport& report, bool collected, bool readBack) {
    if (!collected) return "not read";
    if (!report.problems.empty() && report.writes.empty()) return "not written";
    if (report.writes.empty()) return kNothingToWrite;
    bool allOk = true;
    for (const WriteRecord& w : report.writes) {
        if (w.outcome == "NOT KEPT") return "not kept";
        allOk = allOk && w.outcome == "OK";
    }
    if (!readBack) return "not read back";
    return allOk ? kVerified : "writes failed";
}

// Why the unit failed, on one line: the first problem the run printed, else the first write
// that did not go through, else the first problem recorded.
std::string FailureReason(const UnitReport& report) {
    std::string reason = FirstProblem();
    for (const WriteRecord& w : report.writes) {
        if (!reason.empty()) break;
        const std::string name = UnitText(w.name);
        if (w.outcome == "ERROR") reason = "the unit refused " + name;
        if (w.outcome == "UNKNOWN") reason = name + " was sent but not answered: unknown";
        if (w.outcome == "NOT SENT") reason = name + " was not sent";
        if (w.outcome == "NOT KEPT") reason = "the unit did not keep " + name;
    }
    if (reason.empty() && !report.problems.empty()) reason = report.problems.front();
    for (char& c : reason) {
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    }
    return reason;
}

void Problem(UnitReport* report, CliSession* session, const std::string& text, int code) {
    PrintMessage(text);
    report->problems.push_back(text);
    session->Fail(code);
}

}  // namespace

int RunProvisionUnit(const CliOptions& options) {
    console::IgnoreTerminalInterrupt();
    ProvisionFiles files;
    if (const std::vector<std::string> problems = ReadProvisionFiles(options, &files);
        !problems.empty()) {
        for (const std::string& problem : problems) PrintMessage(problem);
        return kExitUsage;
    }
    UnitReport report;
    report.port = options.port;
    report.sequence = options.sequence;

    CliSession session(options);
    int status = session.Start();
    if (status == kExitDone) {
        // Connect waits for the port's device first when --wait-for-port asks it to.
        Step("opening");
        status = session.Connect();
    }
    if (status != kExitDone) {
        report.problems.push_back("the port could not be opened");
    } else {
        Step(options.awaitStart ? "waiting for a unit" : "logging in");
        if (session.LogIn() != kExitDone) report.problems.push_back("no login");
    }
    bool collected = false;
    bool readBack = false;  // a complete listing came after the writes
    if (status == kExitDone && session.ExitCode() == kExitDone) {
        CM5Z30FrameWnd& frame = session.frame();
        // Logged in, the unit is left cleanly even when the run is stopped.
        session.StopCleanlyOnTerm();
        Step("reading");
        // "Load from file": the form shows the template and a read-for-apply is queued.
        session.dialogs().openPath = options.file;
        LoadFromFile(frame);
        session.SettleLayout();
        session.SetJobHook([&](const CommandJob& job, JobOutcome outcome) {
            if (job.type == JobType::WriteParameter && !job.key.empty()) {
                report.writes.push_back(
                    {job.key, report.before[job.key], job.value, OutcomeName(outcome)});
            }
            if (job.type == JobType::ReadBack && outcome == JobOutcome::Ok &&
                frame.rxLength > kListingMinimum) {
                readBack = true;
                report.after = ListingValues(frame.rxBuffer, frame.rxLength);
                for (const auto& [name, values] : frame.notKept) {
                    for (WriteRecord& w : report.writes) {
                        if (w.name == name) w.outcome = "NOT KEPT";
                    }
                }
            }
            if (job.type != JobType::ReadForApply || outcome != JobOutcome::Ok || collected) return;
            if (frame.rxLength <= kListingMinimum) return;
            // The worker waits until this returns: what is collected here cannot race it.
            collected = true;
            report.before = ListingValues(frame.rxBuffer, frame.rxLength);
            report.deviceType = report.before[kDeviceTypeName];
            report.modemId = report.before[kModemIdName];
            PrintLine(std::string(kUnitLine) + "\t" + UnitText(report.deviceType) + "\t" +
                      UnitText(report.modemId));
            std::string missing;
            const std::vector<Assignment> row =
                UnitRow(files.units, options.port, report.before, &missing);
            std::vector<CommandJob> writes;
            std::vector<std::string> refused;
            if (!missing.empty())
                refused.push_back(missing);
            else
                refused = CollectUnitWrites(session, row, &writes);
            // A value the form refused (said as it was) or a template of another type of unit.
            if (!frame.refusedWrites.empty()) session.Fail(kExitUsage);
            if (refused.empty() && session.ExitCode() != kExitDone) {
                session.TakeQueuedJobs();
                report.problems.push_back("a value of the template or the row was refused");
                Problem(&report, &session, "nothing was written", session.ExitCode());
                return;
            }
            if (!refused.empty()) {
                session.TakeQueuedJobs();
                for (const std::string& problem : refused)
                    Problem(&report, &session, problem, kExitUsage);
                Problem(&report, &session, "nothing was written", kExitUsage);
                return;
            }
            int count = 0;
            for (const CommandJob& w : writes) count += w.type == JobType::WriteParameter;
            PrintLine(std::string(kWritesLine) + "\t" + std::to_string(count));
            // The write step backs the unit up before its first write, as in every frame.
            if (count > 0) Step("writing");
            session.QueueWrites(writes);
        });
        if (session.StartWorker()) session.WaitForJob(JobType::ReadForApply, 0);
    }
    if (session.ExitCode() == kExitDone && status == kExitDone) {
        status = session.FinishWrites(collected);
    } else {
        status = status != kExitDone ? status : session.Finish();
    }

    report.readBack = ReadBackVerdict(report, collected, readBack);
    report.configured =
        status == kExitDone && (report.readBack == kVerified || report.readBack == kNothingToWrite);
    if (report.readBack == kNothingToWrite) report.after = report.before;
    if (!options.reportDir.empty()) {
        std::string error;
        const std::string path =
            options.reportDir + "/" + ReportFileName(options.port, options.sequence);
        if (WriteUnitReport(path, report, &error)) {
            PrintLine(std::string(kReportLine) + "\t" +
                      ReportFileName(options.port, options.sequence));
        } else {
            PrintMessage("cannot write the report " + path + ": " + error);
            report.configured = false;
            if (status == kExitDone) status = kExitFile;
        }
    }
    PrintLine(std::string(kResultLine) + "\t" + (report.configured ? "configured" : "failed") +
              "\t" + report.readBack + "\t" +
              (report.configured ? std::string() : FailureReason(report)));
    if (!report.configured && status == kExitDone) status = kExitUnit;
    return status;
}
