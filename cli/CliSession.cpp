#include "cli/CliSession.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <limits>

#include "app/Connect.h"
#include "cli/CliOutput.h"
#include "cli/Console.h"
#include "engine/ConfigMode.h"
#include "engine/JobEnd.h"
#include "engine/JobTypes.h"
#include "engine/ReceivePath.h"
#include "engine/Worker.h"
#include "form/WriteRefusal.h"
#include "serial/PortList.h"
#include "serial/PortWatcher.h"
#include "settings/Labels.h"
#include "settings/Settings.h"
#include "ui/Controls.h"
#include "ui/Log.h"
#include "ui/PaintManager.h"

namespace {

using std::chrono::milliseconds;

// The window's style without WS_VISIBLE, and its size: the frame is laid out as on screen.
constexpr unsigned kFrameStyle = WS_OVERLAPPEDWINDOW;
constexpr int kFrameWidth = 1400;
constexpr int kFrameHeight = 800;

// A unit that may be booting is given this long to print its start-up prompt, which the frame
// answers; a running unit is asked with "AT" whether it is in its setting mode already, then
// sent "+++", again after each retry period.
constexpr milliseconds kPromptGrace{1500};
constexpr milliseconds kModeProbeWait{50};
constexpr milliseconds kLoginRetry{3000};
// A job's wait covers the worker's own time-out plus its pauses, quiet spans and the grace it
// gives a late answer; past that something is wrong with the session, not the unit.
constexpr milliseconds kJobSlack{10000};
// At most this many rounds of posted events while the layout rules set each other off.
constexpr int kMaxLayoutRounds = 50;
constexpr int kProgressPeriodMs = 250;

bool IsListingJob(JobType type) {
    return type == JobType::ReadAll || type == JobType::ReadForSave ||
           type == JobType::ReadForApply;
}

// Selects the item with that text, adding it when the list lacks it.
void SelectOrAdd(FormWindow& frame, const char* name, const std::string& text) {
    auto* combo = dynamic_cast<CComboUI*>(frame.paintManager.FindControl(name));
    if (!combo) return;
    for (int i = 0; i < combo->GetCount(); ++i) {
        if (combo->GetItemAt(i)->GetText() == text) {
            combo->SelectItem(i);
            return;
        }
    }
    combo->Add(new CListLabelElementUI(text));
    combo->SelectItem(combo->GetCount() - 1);
}

// The log's lines without their line ends, for a message.
std::string LogLines(std::string_view text) {
    std::string lines;
    for (char c : text) {
        if (c == '\r') continue;
        if (c == '\n') {
            if (!lines.empty() && lines.back() != ' ') lines += ' ';
            continue;
        }
        lines += c;
    }
    while (!lines.empty() && lines.back() == ' ') lines.pop_back();
    return UnitText(lines);
}

}  // namespace

LRESULT CliFrame::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CM5Z30FrameWnd::HandleMessage(msg, wParam, lParam);
    if (msg == kMsgLayoutRule) ++layoutRulesRun;
    if (afterMessage) afterMessage();
    return result;
}

CliSession::CliSession(const CliOptions& options) : options_(options) {}

CliSession::~CliSession() {
    frame_.reset();
    if (tapSet_) SetLogTap(nullptr);
}

int CliSession::Start() {
    if (!options_.logPath.empty()) {
        std::string error;
        if (!logFile_.Open(options_.logPath, &error)) {
            PrintMessage("cannot write the log " + options_.logPath + ": " + error);
            return kExitUsage;
        }
    }
    SetLogTap([this](std::string_view text) { OnLog(text); });
    tapSet_ = true;

    // The window's start-up: the instance folder, the language, the skin and its labels.
    const int language = SetUpSkinAndLabels();
    for (const char* notice : RefusalNotices()) {
        refusalNotices_.push_back(LabelText("Notify", notice).str());
    }
    backupNotices_ = {LabelText("Backup", "Saved").str(), LabelText("Backup", "Failed").str(),
                      LabelText("Backup", "NoListing").str(), LabelText("Backup", "Same").str(),
                      LabelText("Backup", "Stopped").str()};
    lostNotice_ = LabelText("OnStartCom", "LostNotice").str();

    frame_ = std::make_unique<CliFrame>();
    frame_->language = language;
    // A session ends with its port; a rig runs the command again.
    frame_->portFollow.reopenLost = false;
    frame_->jobObserver = [this](const CommandJob& job, JobOutcome outcome) {
        OnJobFinished(job, outcome);
    };
    frame_->afterMessage = [this] {
        if (waker_) waker_();
    };
    frame_->questionAnswer = [this](Question question, const std::string& text) {
        return AnswerQuestion(question, text);
    };
    // No widget is made: the frame runs its messages, timers and controls alone.
    frame_->SetHeadless(true);
    frame_->Create(nullptr, "DTU", kFrameStyle, 0, 0, 0, kFrameWidth, kFrameHeight);
    if (!frame_->logView) {
        PrintMessage("the skin could not be loaded from " +
                     CPaintManagerUI::GetResourcePath().str());
        return kExitUnit;
    }
    QCoreApplication::sendPostedEvents();
    return kExitDone;
}

int CliSession::Connect() {
    if (options_.waitForPortSeconds > 0 && !WaitForPort()) return kExitNoPort;
    SelectOrAdd(*frame_, "SerialPort", options_.port);
    SelectOrAdd(*frame_, "BaudRate1", std::to_string(options_.baud));
    SelectOrAdd(*frame_, "Checkcode", options_.format);
    const std::size_t mark = logText_.size();
    ToggleFrameConnection(*frame_);
    // The notices are posted to the log view: let them arrive.
    QCoreApplication::sendPostedEvents();
    if (PortOpen()) return kExitDone;
    PrintMessage(options_.port + ": " + LogLines(std::string_view(logText_).substr(mark)));
    return kExitPort;
}

bool CliSession::WaitForPort() {
    if (serial::PortExists(options_.port)) return true;
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%g", options_.waitForPortSeconds);
    PrintNotice(options_.port + ": waiting up to " + seconds + " s for the port to appear");
    if (serial::WaitForPort(options_.port,
                            static_cast<int>(std::min(options_.waitForPortSeconds * 1000.0,
                                                      static_cast<double>(INT_MAX))))) {
        return true;
    }
    PrintMessage(options_.port + ": the port did not appear within " + seconds + " s");
    return false;
}

int CliSession::LogIn() {
    using Clock = std::chrono::steady_clock;
    const auto deadline =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(
                           std::chrono::duration<double>(options_.loginTimeoutSeconds));
    const auto remaining = [&] {
        return std::max(milliseconds(0),
                        std::chrono::duration_cast<milliseconds>(deadline - Clock::now()));
    };
    const auto loggedIn = [this] { return frame_->loggedIn.load() || !PortOpen(); };
    // A unit yet to be powered on comes in by its start-up prompt alone, however late.
    if (options_.awaitStart) WaitUntil(loggedIn, milliseconds(std::numeric_limits<int>::max()));
    // Only a unit that may be booting (a rig's, or on a port that just appeared) is given time
    // for its prompt.
    if (options_.waitForPortSeconds > 0 || options_.mayBoot)
        WaitUntil(loggedIn, std::min(kPromptGrace, remaining()));
    // Left in its setting mode (--stay), a unit answers "AT", and need not answer "+++".
    if (!loggedIn()) {
        ProbeSettingMode(*frame_);
        WaitUntil(loggedIn, std::min(kModeProbeWait * frame_->timeoutFactor.load(), remaining()));
    }
    while (!loggedIn() && remaining() > milliseconds(0)) {
        Login(*frame_);
        WaitUntil(loggedIn, std::min(kLoginRetry, remaining()));
    }
    if (frame_->loggedIn) return kExitDone;
    if (!PortOpen()) {
        PrintMessage("the port was closed before the unit entered its setting mode");
    } else {
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%g", options_.loginTimeoutSeconds);
        PrintMessage(std::string("the unit did not enter its setting mode within ") + seconds +
                     " s: neither answering its prompt nor \"+++\" brought it there");
    }
    Fail(kExitUnit);
    return kExitUnit;
}

bool CliSession::StartWorker() {
    if (frame_->HasWorker()) return true;
    if (!frame_->StartWorker()) {
        PrintMessage(LabelText("WinMain", "WorkThread").str());
        Fail(kExitUnit);
        return false;
    }
    if (ProgressWanted()) {
        progressTimer_ = std::make_unique<QTimer>();
        QObject::connect(progressTimer_.get(), &QTimer::timeout, [this] { ShowListingProgress(); });
        progressTimer_->start(kProgressPeriodMs);
    }
    return true;
}

void CliSession::SettleLayout() {
    for (int round = 0; round < kMaxLayoutRounds; ++round) {
        const int before = frame_->layoutRulesRun;
        QCoreApplication::sendPostedEvents();
        if (frame_->layoutRulesRun == before) return;
    }
}

int CliSession::Finished(JobType type) const {
    auto it = finished_.find(type);
    return it == finished_.end() ? 0 : it->second;
}

milliseconds CliSession::JobLimit(JobType type) const {
    // The job's own time-out and grace, and the probe that may come before it, both grown by
    // the unit's lateness seen so far.
    const int factor = frame_->timeoutFactor.load();
    const milliseconds allowance = frame_->lineSync.allowance;
    return JobTimeout(type, factor) + JobTimeout(JobType::Resync, factor) + 2 * allowance +
           kLateAnswerGrace + kJobSlack;
}

JobOutcome CliSession::WaitForJob(JobType type, int before) {
    const milliseconds limit = JobLimit(type);
    if (!WaitUntil([&] { return Finished(type) > before || !PortOpen(); }, limit)) {
        return JobOutcome::Timeout;
    }
    if (Finished(type) <= before) return JobOutcome::Timeout;  // the port went away
    return lastOutcome_[type];
}

JobOutcome CliSession::RunJob(const CommandJob& job) {
    const int before = Finished(job.type);
    frame_->jobQueue.PushJob(job);
    return WaitForJob(job.type, before);
}

std::vector<CommandJob> CliSession::TakeQueuedJobs() {
    std::vector<CommandJob> jobs;
    CommandJob job;
    while (frame_->jobQueue.PopJob(job)) jobs.push_back(job);
    return jobs;
}

std::vector<PlannedWrite> CliSession::PlanWrites(const std::vector<CommandJob>& jobs) const {
    std::vector<PlannedWrite> writes;
    for (const CommandJob& job : jobs) {
        if (job.type != JobType::WriteParameter) continue;
        const ParameterEntry* entry = frame_->parameterTable.FindParameter(job.key);
        writes.push_back({job.key, entry ? entry->value : std::string(), job.value});
    }
    return writes;
}

void CliSession::QueueWrites(const std::vector<CommandJob>& jobs) {
    for (const PlannedWrite& write : PlanWrites(jobs)) planned_.push_back(write);
    for (const CommandJob& job : jobs) {
        if (job.type == JobType::WriteParameter) ++writesQueued_;
        // After a stop nothing more goes to the unit.
        if (stopRequested_) {
            ReportJobEnd(*frame_, job, JobOutcome::NotSent);
        } else {
            frame_->jobQueue.PushJob(job);
        }
    }
}

void CliSession::StopCleanlyOnTerm() {
    // Ctrl-C is the parent's to decide; it stops this unit's run with SIGTERM.
    console::WatchStopRequests(
        [this] {
            if (stopRequested_) return;
            stopRequested_ = true;
            PrintMessage("stopped: the command on the line finishes and the unit is left");
            Fail(kExitUnit);
            ReportNotSent(*frame_, frame_->jobQueue.TakeAll());
            if (waker_) waker_();
        },
        false);
}

void CliSession::WaitForWrites() {
    // Each write that ends gives the next its own time.
    for (int done = -1; writesDone_ < writesQueued_ && writesDone_ > done && PortOpen();) {
        done = writesDone_;
        WaitUntil([&] { return writesDone_ > done || !PortOpen(); },
                  JobLimit(JobType::WriteParameter));
    }
    if (writesDone_ < writesQueued_) {
        PrintMessage(std::to_string(writesQueued_ - writesDone_) +
                     " writes were not sent: the port was closed or the unit stopped answering");
        Fail(kExitUnit);
        return;
    }
    // The read-back that follows confirmed writes tells which ones the unit kept.
    if (!readBackDue_) return;
    WaitUntil([&] { return Finished(JobType::ReadBack) > 0 || !PortOpen(); },
              JobLimit(JobType::ReadBack));
    if (Finished(JobType::ReadBack) == 0) {
        PrintMessage("the unit sent no listing after the writes: they could not be checked");
        Fail(kExitUnit);
    }
}

void CliSession::Fail(int code) {
    if (exitCode_ == kExitDone) exitCode_ = code;
}

int CliSession::FinishWrites(bool listed) {
    if (!listed) {
        PrintMessage("the unit sent no complete listing: nothing was written");
        Fail(kExitUnit);
        return Finish();
    }
    WaitForWrites();
    return Finish();
}

int CliSession::Finish() {
    if (frame_ && PortOpen()) {
        if (frame_->loggedIn && !options_.stay && StartWorker()) {
            CommandJob quit;
            quit.type = JobType::Quit;
            quit.command = JobCommand(JobType::Quit);
            if (RunJob(quit) != JobOutcome::Ok) {
                PrintMessage("the unit did not confirm at+quit");
                Fail(kExitUnit);
            }
        }
        ToggleFrameConnection(*frame_);
        QCoreApplication::sendPostedEvents();
    }
    ClearProgress();
    logFile_.Close();
    return exitCode_;
}

void CliSession::OnJobFinished(const CommandJob& job, JobOutcome outcome) {
    ++finished_[job.type];
    lastOutcome_[job.type] = outcome;
    if (job.type == JobType::WriteParameter && !job.key.empty()) OnWriteFinished(job, outcome);
    if (job.type == JobType::ReadBack) OnReadBackFinished(outcome);
    if (hook_) hook_(job, outcome);
    if (waker_) waker_();
}

void CliSession::OnWriteFinished(const CommandJob& job, JobOutcome outcome) {
    PlannedWrite write{job.key, std::string(), job.value};
    if (!planned_.empty() && planned_.front().name == job.key) {
        write = planned_.front();
        planned_.pop_front();
    }
    ++writesDone_;
    PrintLine(FormatWrite(write.name, write.oldValue, job.value, OutcomeName(outcome)));
    if (outcome != JobOutcome::Ok) Fail(kExitUnit);
    if (outcome == JobOutcome::Ok) readBackDue_ = true;
    ShowProgress("writes: " + std::to_string(writesDone_) + " of " + std::to_string(writesQueued_));
}

void CliSession::OnReadBackFinished(JobOutcome outcome) {
    if (outcome != JobOutcome::Ok || frame_->rxLength <= kListingMinimum) {
        PrintMessage("the unit sent no listing after the writes: they could not be checked");
        Fail(kExitUnit);
        return;
    }
    for (const auto& [name, values] : frame_->notKept) {
        PrintLine(FormatWrite(name, values.second, values.first, "NOT KEPT"));
        Fail(kExitUnit);
    }
}

bool CliSession::AnswerQuestion(Question question, const std::string& text) {
    switch (question) {
        case Question::CutFile:
            return true;  // said when the file was read
        case Question::OtherDevice:
            if (options_.anyDevice) return true;
            PrintMessage(LogLines(text) + " No: --any-device writes it.");
            Fail(kExitFile);
            return false;
        case Question::WriteWithoutBackup:
            PrintMessage(LogLines(text) + (options_.noBackup ? " Yes: --no-backup." : " No."));
            if (!options_.noBackup) Fail(kExitFile);
            return options_.noBackup;
    }
    return false;
}

void CliSession::OnLog(std::string_view text) {
    logText_.append(text);
    logFile_.Append(text);
    // A value the form refused to send (a control byte, a value its parameter cannot take...)
    // is no write that failed: nothing went out for it, and the user must hear of it.
    for (const std::string& notice : refusalNotices_) {
        if (!notice.empty() && text.starts_with(notice)) {
            PrintMessage(LogLines(text));
            Fail(kExitUsage);
        }
    }
    // Where the unit's backup went (or why there is none) is told before the first write.
    for (const std::string& notice : backupNotices_) {
        if (!notice.empty() && text.starts_with(notice)) PrintNotice(LogLines(text));
    }
    // The writes that follow are reported UNKNOWN and NOT SENT: this says why.
    if (!lostNotice_.empty() && text.starts_with(lostNotice_)) PrintMessage(LogLines(text));
}

void CliSession::ShowListingProgress() {
    if (!frame_ || !IsListingJob(frame_->pendingJobType) || frame_->rxLength <= 0) return;
    ShowProgress("listing: " + std::to_string(frame_->rxLength) + " bytes received");
}

bool CliSession::PortOpen() const {
    return frame_ && frame_->serialPort.IsOpen();
}

bool CliSession::WaitUntil(const std::function<bool()>& done, milliseconds limit) {
    if (done()) return true;
    if (limit <= milliseconds(0)) return false;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(limit);
    waker_ = [&] {
        if (done()) loop.quit();
    };
    loop.exec();
    waker_ = nullptr;
    return done();
}

const char* OutcomeName(JobOutcome outcome) {
    switch (outcome) {
        case JobOutcome::Ok:
            return "OK";
        case JobOutcome::Error:
            return "ERROR";
        case JobOutcome::Timeout:
        case JobOutcome::PortLost:
            return "UNKNOWN";
        case JobOutcome::NotSent:
            return "NOT SENT";
    }
    return "";
}
