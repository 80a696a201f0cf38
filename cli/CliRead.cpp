// ports, show and read: what is there, what a file holds, what the unit holds.
#include <QFile>

#include "cli/CliCommands.h"
#include "cli/CliListingFile.h"
#include "cli/CliOutput.h"
#include "cli/CliSession.h"
#include "engine/PortItems.h"
#include "form/ConfigFiles.h"
#include "params/ConfigFileText.h"
#include "params/Listing.h"
#include "serial/PortList.h"

namespace {

// True when the file holds exactly the bytes a .cfg file of the listing has.
bool FileHolds(const std::string& path, const std::string& listing) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return false;
    return file.readAll().toStdString() == EncodeConfigText(listing);
}

}  // namespace

int RunPorts(const CliOptions& options) {
    // The window's labels give the reasons, in the language last chosen.
    CliSession session(options);
    if (int status = session.Start()) return status;
    const std::vector<PortInfo> infos = serial::ListSerialPorts();
    for (const ListedPort& port : ListPorts({}, {})) {
        std::string description;
        for (const PortInfo& info : infos) {
            if (info.device == port.device) description = info.description;
        }
        PrintLine(port.device + "\t" + UnitText(description) + "\t" + port.stableName + "\t" +
                  PortUseReason(port.access));
    }
    return kExitDone;
}

int RunShow(const CliOptions& options) {
    std::string listing;
    if (!ReadCheckedListing(options.file, options.file, &listing)) return kExitFile;
    int count = 0;
    const std::string text = FormatListing(listing, options.json, &count);
    if (count == 0) {
        PrintMessage(options.file + " is not a listing of a unit: it holds no parameter");
        return kExitFile;
    }
    PrintText(text);
    return kExitDone;
}

int RunRead(const CliOptions& options) {
    CliSession session(options);
    if (int status = session.Start()) return status;
    if (int status = session.Connect()) return status;
    if (session.LogIn() != kExitDone || !session.StartWorker()) return session.Finish();

    // With --output the unit is read for saving, as "save to file" does, and the file is
    // written by the same step; the listing is kept for printing either way.
    const bool toFile = !options.output.empty();
    const JobType type = toFile ? JobType::ReadForSave : JobType::ReadAll;
    std::string listing;
    session.SetJobHook([&](const CommandJob& job, JobOutcome outcome) {
        if (job.type != type || outcome != JobOutcome::Ok) return;
        listing.assign(session.frame().rxBuffer,
                       static_cast<std::size_t>(session.frame().rxLength));
    });
    JobOutcome outcome;
    if (toFile) {
        session.dialogs().savePath = options.output;
        const int before = session.Finished(JobType::ReadForSave);
        SaveToFile(session.frame());
        outcome = session.WaitForJob(JobType::ReadForSave, before);
    } else {
        outcome = session.RunJob({JobType::ReadAll, kListingCommand, "", ""});
    }
    if (outcome != JobOutcome::Ok || listing.empty()) {
        PrintMessage("the unit sent no complete listing");
        session.Fail(kExitUnit);
        return session.Finish();
    }
    if (toFile && !FileHolds(options.output, listing)) {
        PrintMessage("the listing could not be written to " + options.output);
        session.Fail(kExitFile);
    }
    if (options.json || !toFile) {
        int count = 0;
        PrintText(FormatListing(listing, options.json, &count));
    }
    return session.Finish();
}
