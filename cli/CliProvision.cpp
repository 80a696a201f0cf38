// provision: the template and the units' file checked, then one child process per port
// ("provision-unit"), their progress shown as a table, a summary written and the failed
// units listed. With --loop each port runs again for the next unit until Ctrl-C.
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <map>
#include <memory>

#include "cli/CliCommands.h"
#include "cli/CliOutput.h"
#include "cli/CliProvisionProtocol.h"
#include "cli/CliProvisionTable.h"
#include "cli/CliSession.h"
#include "cli/CliUnitReport.h"
#include "cli/CliUnitsFile.h"
#include "cli/Console.h"
#include "settings/AtomicFile.h"

namespace {

constexpr const char* kWaitingStep = "waiting for a unit";
// With --loop, a port that has no unit to serve is tried again after this.
constexpr std::chrono::seconds kRetryPause{2};
// A unit's process told to stop finishes the command on its line and leaves the unit with
// at+quit; one still there after this is killed (a stop signal that reached it between fork
// and exec ran the parent's handler instead).
constexpr std::chrono::seconds kStopGrace{15};

// Everything a unit's run printed and how it ended.
struct UnitResult {
    std::string port;
    int sequence = 1;
    std::string deviceType;
    std::string modemId;
    std::string result = "failed";
    std::string readBack;
    std::string reason;  // why the unit failed
    std::string report;  // the report's file name, once it was written
    int exitCode = kExitUnit;
};

struct PortRun {
    std::size_t index = 0;
    std::string port;
    std::unique_ptr<QProcess> process;
    UnitResult unit;
    std::string step;
    int writes = 0;
    int writesDone = 0;
    std::string notKept;      // the read-back's names of values the unit did not keep
    bool identified = false;  // the run read a unit
    std::string ownReason;    // why the run failed, as it says itself
    QByteArray pending;       // stdout not yet ended by a line end
};

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
        fields.push_back(line.substr(start, tab - start));
    fields.push_back(line.substr(start));
    return fields;
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

class Provisioner {
  public:
    Provisioner(const CliOptions& options)
        : options_(options), table_(options.ports, console::IsTerminal(stdout)) {}

    int Run() {
        // Ctrl-C reaches every process of the terminal's group; the units' own ignore it, and
        // this one decides, with or without --loop.
        console::WatchStopRequests([this] { Stop(); });
        for (std::size_t i = 0; i < options_.ports.size(); ++i) {
            auto run = std::make_unique<PortRun>();
            run->index = i;
            run->port = options_.ports[i];
            runs_.push_back(std::move(run));
        }
        for (auto& run : runs_) StartUnit(*run, 1);
        // A run that could not even start has ended already, and a quit before exec is lost.
        if (!AllDone()) loop_.exec();
        return Summarize();
    }

  private:
    // Two units of one ID number would both take that number's row of the units' file; an
    // engineer who meant two rows must hear of it (the units are written all the same).
    void WarnOfTwinUnit(const PortRun& run) {
        if (options_.unitsPath.empty() || run.unit.modemId.empty()) return;
        auto [it, added] = portsById_.emplace(run.unit.modemId, run.port);
        if (added || it->second == run.port) return;
        PrintNotice("warning: the units on " + it->second + " and " + run.port +
                    " have the same ID number " + run.unit.modemId +
                    ": both take its row of the units' file");
    }

    // The first Ctrl-C ends the waits for a next unit and lets units being written finish; a
    // second one ends those too.
    void Stop() {
        const bool again = stopping_;
        stopping_ = true;
        table_.Note(again ? "stopping every port now"
                          : "stopping: the units being configured finish first");
        for (auto& run : runs_) {
            if (run->process && (again || run->step == kWaitingStep)) StopRun(*run);
        }
    }

    void StopRun(PortRun& run) {
        run.unit.reason = "stopped";
        QProcess* process = run.process.get();
        console::StopUnitProcess(*process);
        QTimer::singleShot(kStopGrace, process, [process] { process->kill(); });
    }

    QStringList UnitArguments(const PortRun& run, int sequence) const {
        QStringList args{"provision-unit",  QString::fromStdString(options_.file),
                         "--port",          QString::fromStdString(run.port),
                         "--baud",          QString::number(options_.baud),
                         "--format",        QString::fromStdString(options_.format),
                         "--login-timeout", QString::number(options_.loginTimeoutSeconds),
                         "--sequence",      QString::number(sequence)};
        if (!options_.unitsPath.empty())
            args << "--units" << QString::fromStdString(options_.unitsPath);
        if (!options_.reportDir.empty())
            args << "--report" << QString::fromStdString(options_.reportDir);
        if (!options_.logPath.empty()) {
            args << "--log"
                 << QString::fromStdString(options_.logPath + "." +
                                           UnitFileStem(run.port, sequence));
        }
        if (options_.stay) args << "--stay";
        if (options_.noBackup) args << "--no-backup";
        if (options_.anyDevice) args << "--any-device";
        // A rig may start before its units are plugged in.
        if (options_.waitForPortSeconds > 0)
            args << "--wait-for-port" << QString::number(options_.waitForPortSeconds);
        // A later unit is one powered on after the last one was done: it comes with its prompt.
        if (sequence > 1) args << "--await-start";
        // The first unit of a rig may be booting too.
        if (options_.loop) args << "--may-boot";
        return args;
    }

    void StartUnit(PortRun& run, int sequence) {
        run.unit = UnitResult{};
        run.unit.port = run.port;
        run.unit.sequence = sequence;
        run.writes = run.writesDone = 0;
        run.notKept.clear();
        run.ownReason.clear();
        run.identified = false;
        run.pending.clear();
        run.process = std::make_unique<QProcess>();
        QProcess* process = run.process.get();
        QObject::connect(process, &QProcess::readyReadStandardOutput,
                         [this, &run] { ReadLines(run); });
        QObject::connect(process, &QProcess::readyReadStandardError,
                         [this, &run] { ReadMessages(run); });
        QObject::connect(process, &QProcess::finished,
                         [this, &run](int code, QProcess::ExitStatus how) {
                             OnFinished(run, how == QProcess::NormalExit ? code : kExitUnit);
                         });
        QObject::connect(process, &QProcess::errorOccurred, [this, &run](QProcess::ProcessError e) {
            if (e != QProcess::FailedToStart) return;
            run.unit.reason = "cannot run " + QCoreApplication::applicationFilePath().toStdString();
            OnFinished(run, kExitUnit);
        });
        SetStep(run, sequence > 1 ? kWaitingStep : "starting");
        console::PrepareUnitProcess(*process);
        process->start(QCoreApplication::applicationFilePath(), UnitArguments(run, sequence));
    }

    void ReadMessages(PortRun& run) {
        const QByteArray text = run.process->readAllStandardError();
        for (const QByteArray& line : text.split('\n')) {
            QByteArray message = line.trimmed();
            if (message.startsWith("dtuconfig: ")) message.remove(0, 11);
            // The first message says why; those after it follow from it.
            if (!message.isEmpty() && run.unit.reason.empty())
                run.unit.reason = message.toStdString();
        }
    }

    void ReadLines(PortRun& run) {
        run.pending += run.process->readAllStandardOutput();
        for (qsizetype end; (end = run.pending.indexOf('\n')) >= 0;) {
            const std::string line = run.pending.left(end).toStdString();
            run.pending.remove(0, end + 1);
            OnLine(run, line);
        }
    }

    void OnLine(PortRun& run, const std::string& line) {
        const std::vector<std::string> f = Fields(line);
        if (f[0] == kStepLine && f.size() > 1) {
            SetStep(run, f[1]);
        } else if (f[0] == kUnitLine && f.size() > 2) {
            run.identified = true;
            run.unit.deviceType = f[1];
            run.unit.modemId = f[2];
            SetStep(run, "read: " + f[1] + ", ID " + f[2]);
            WarnOfTwinUnit(run);
        } else if (f[0] == kWritesLine && f.size() > 1) {
            run.writes = std::atoi(f[1].c_str());
        } else if (f[0] == kResultLine && f.size() > 2) {
            run.unit.result = f[1];
            run.unit.readBack = f[2];
            if (f.size() > 3) run.ownReason = f[3];
        } else if (f[0] == kReportLine && f.size() > 1) {
            run.unit.report = f[1];
        } else if (f.size() == 4) {
            // "name<TAB>old<TAB>new<TAB>result": a write finished, or the read-back found one
            // not kept.
            if (f[3] != "NOT KEPT")
                ++run.writesDone;
            else
                run.notKept += (run.notKept.empty() ? "" : ", ") + f[0];
            const std::string state =
                "writing " + std::to_string(run.writesDone) + "/" + std::to_string(run.writes);
            table_.Update(run.index, state, "write " + f[0] + " = " + f[2] + ": " + f[3]);
            run.step = state;
        }
    }

    void SetStep(PortRun& run, const std::string& step) {
        run.step = step;
        table_.Update(run.index, step, step);
        // A unit's process still opening its port when the stop came waits for a unit only
        // now: it has nothing to finish either.
        if (stopping_ && step == kWaitingStep && run.process) StopRun(run);
    }

    void OnFinished(PortRun& run, int exitCode) {
        ReadLines(run);
        ReadMessages(run);
        run.process.release()->deleteLater();
        run.unit.exitCode = exitCode;
        // The run's own word on why wins over its first message, which may be a notice.
        if (!run.ownReason.empty()) run.unit.reason = run.ownReason;
        if (!run.notKept.empty()) run.unit.reason = "the unit did not keep " + run.notKept;
        // With --loop a run that met no unit (the port gone, or stopped while it waited) is no
        // unit's result: the port is tried again after a pause, so a missing port never spins.
        if (options_.loop && run.unit.sequence > 1 && !run.identified) {
            if (stopping_) {
                table_.Update(run.index, "stopped", "stopped");
                QuitWhenAllDone();
                return;
            }
            const std::string state = "no unit (" + run.unit.reason + "), trying again";
            table_.Update(run.index, state, state);
            ++retriesDue_;
            QTimer::singleShot(kRetryPause, [this, &run] {
                --retriesDue_;
                if (stopping_) return QuitWhenAllDone();
                StartUnit(run, run.unit.sequence);
            });
            return;
        }
        if (run.unit.result == "configured" && exitCode != kExitDone) run.unit.result = "failed";
        std::string state = run.unit.result;
        if (!run.unit.readBack.empty()) state += " (" + run.unit.readBack + ")";
        if (run.unit.result != "configured" && !run.unit.reason.empty())
            state += ": " + run.unit.reason;
        table_.Update(run.index, state, state);
        results_.push_back(run.unit);
        std::stable_sort(results_.begin(), results_.end(),
                         [this](const UnitResult& a, const UnitResult& b) {
                             return std::pair(PortIndex(a.port), a.sequence) <
                                    std::pair(PortIndex(b.port), b.sequence);
                         });
        if (options_.loop && !stopping_) return StartUnit(run, run.unit.sequence + 1);
        QuitWhenAllDone();
    }

    bool AllDone() const {
        if (retriesDue_ > 0) return false;
        for (const auto& run : runs_) {
            if (run->process) return false;
        }
        return true;
    }

    void QuitWhenAllDone() {
        if (AllDone()) loop_.quit();
    }

    std::size_t PortIndex(const std::string& port) const {
        return std::find(options_.ports.begin(), options_.ports.end(), port) -
               options_.ports.begin();
    }

    bool WriteSummary() const {
        std::string csv =
            "port,sequence,device type,Modem'sID number,result,read back,report,problem\n";
        for (const UnitResult& u : results_) {
            const std::vector<std::string> fields{
                u.port,       std::to_string(u.sequence),
                u.deviceType, u.modemId,
                u.result,     u.readBack,
                u.report,     u.result == "configured" ? "" : u.reason};
            for (std::size_t i = 0; i < fields.size(); ++i) {
                if (i) csv += ',';
                csv += CsvField(fields[i]);
            }
            csv += "\n";
        }
        std::string error;
        const std::string path = options_.reportDir + "/summary.csv";
        if (ReplaceFileContents(path, csv, &error, FileAccess::OwnerOnly)) return true;
        PrintMessage("cannot write " + path + ": " + error);
        return false;
    }

    int Summarize() const {
        int status = kExitDone;
        int configured = 0;
        for (const UnitResult& u : results_) {
            if (u.result == "configured" && u.exitCode == kExitDone) {
                ++configured;
                continue;
            }
            if (status == kExitDone) status = u.exitCode == kExitDone ? kExitUnit : u.exitCode;
            PrintMessage("failed: " + u.port + " unit " + std::to_string(u.sequence) +
                         (u.modemId.empty() ? "" : " (ID " + u.modemId + ")") +
                         (u.reason.empty() ? "" : ": " + u.reason));
        }
        std::printf("%d of %zu units configured and verified\n", configured, results_.size());
        std::fflush(stdout);
        if (!options_.reportDir.empty() && !WriteSummary() && status == kExitDone)
            status = kExitFile;
        return status;
    }

    const CliOptions& options_;
    ProvisionTable table_;
    std::vector<std::unique_ptr<PortRun>> runs_;
    std::vector<UnitResult> results_;
    std::map<std::string, std::string> portsById_;  // the port each ID number was first read on
    QEventLoop loop_;
    bool stopping_ = false;
    int retriesDue_ = 0;  // ports pausing before they are tried again
};

// Every problem of the template and the units' file, the form's own check of the values last.
std::vector<std::string> CheckFiles(const CliOptions& options) {
    ProvisionFiles files;
    std::vector<std::string> problems = ReadProvisionFiles(options, &files);
    // The units' files are named by the port's last path part: two alike would overwrite.
    std::map<std::string, std::string> stems;
    for (const std::string& port : options.ports) {
        auto [it, added] = stems.emplace(UnitFileStem(port, 1), port);
        if (!added && (!options.reportDir.empty() || !options.logPath.empty())) {
            problems.push_back("the ports " + it->second + " and " + port +
                               " end in the same name: their reports and logs would overwrite "
                               "each other");
        }
    }
    if (!problems.empty() || files.units.columns.empty()) return problems;
    // The form alone checks the values: no unit, so no log of its own (the units' logs are
    // FILE.port-n; FILE itself is never written).
    CliOptions checking = options;
    checking.logPath.clear();
    CliSession session(checking);
    if (session.Start() != kExitDone) {
        problems.push_back("the form could not be built to check the units' values");
        return problems;
    }
    return CheckValuesShown(session.frame(), files.units);
}

}  // namespace

int RunProvision(const CliOptions& options) {
    if (const std::vector<std::string> problems = CheckFiles(options); !problems.empty()) {
        for (const std::string& problem : problems) PrintMessage(problem);
        PrintMessage(std::to_string(problems.size()) +
                     (problems.size() == 1 ? " problem" : " problems") + ": no unit was touched");
        return kExitUsage;
    }
    if (!options.reportDir.empty() && !QDir().mkpath(QString::fromStdString(options.reportDir))) {
        PrintMessage("cannot make the report folder " + options.reportDir);
        return kExitFile;
    }
    return Provisioner(options).Run();
}
