#include "app/Progress.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/AppWindow.h"
#include "app/DeviceState.h"
#include "engine/JobEnd.h"
#include "form/WriteReview.h"
#include "settings/Labels.h"
#include "ui/Controls.h"
#include "ui/Log.h"

namespace {

constexpr const char* kSection = "Progress";

// The listing jobs and the words their step is shown in.
struct ListingStep {
    JobType type;
    const char* key;
};
constexpr ListingStep kListingSteps[] = {
    {JobType::ReadAll, "Reading"},
    {JobType::ReadForSave, "BackingUp"},
    {JobType::ReadForApply, "ReadingForApply"},
    {JobType::ReadBack, "CheckingKept"},
};

const char* ListingKey(JobType type) {
    for (const ListingStep& step : kListingSteps) {
        if (step.type == type) return step.key;
    }
    return nullptr;
}

// A new run; the size of the last listing is kept for the next one.
void StartOver(RunProgress& run) {
    const int expected = run.expectedListing;
    run = RunProgress{};
    run.expectedListing = expected;
}

// A command without a parameter (the clock, a query) is named by its command word.
std::string CommandWord(const std::string& command) {
    const std::size_t start = command.find_first_not_of("\r\n");
    if (start == std::string::npos) return {};
    return command.substr(start, command.find_first_of("=\r\n", start) - start);
}

std::string Joined(const std::vector<std::string>& names) {
    if (names.empty()) return LabelText(kSection, "Nothing").str();
    std::string all;
    for (const std::string& name : names) all += (all.empty() ? "" : ", ") + name;
    return all;
}

// One part of the run's summary, " Refused: a, b."; nothing for no names unless `always`.
std::string SummaryPart(const char* key, const std::vector<std::string>& names, bool always) {
    if (names.empty() && !always) return {};
    return " " + FilledLabel(kSection, key, {{"names", Joined(names)}});
}

// Cancel has something to drop: a job queued besides the read-back, which always runs.
bool AnythingToDrop(const AppWindow& frame) {
    return frame.jobQueue.Size() > frame.jobQueue.CountOf(JobType::ReadBack);
}

std::string Kilobytes(int bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", bytes / 1024.0);
    return text;
}

// Cancel is offered while a run goes on and has not been cancelled.
void Show(AppWindow& frame, int percent, const std::string& step, bool running) {
    // While the window is left, at+quit is queued and must go: nothing is offered to drop it.
    const bool cancellable =
        running && !frame.progress.cancelled && !frame.leaveThen && AnythingToDrop(frame);
    if (auto* bar = dynamic_cast<CProgressUI*>(frame.paintManager.FindControl("JobProgress"))) {
        bar->SetValue(percent);
        bar->SetText(step);
        bar->SetProblemMark({});
    }
    if (CControlUI* row = frame.paintManager.FindControl("ProgressRow")) row->SetVisible(true);
    if (CControlUI* cancel = frame.paintManager.FindControl("CancelJobs")) {
        cancel->SetVisible(cancellable);
    }
}

// How a run ended: the bar's words and the note the device state gets (none keeps the plain
// logged-in state).
struct Ending {
    const char* bar;
    const char* deviceNote;
};
constexpr Ending kPortLost{"EndPortLost", "PortLost"};
constexpr Ending kPortClosed{"EndPortClosed", nullptr};
constexpr Ending kCancelled{"EndCancelled", nullptr};
constexpr Ending kNoAnswer{"EndNoAnswer", "RunNoAnswer"};
constexpr Ending kRefused{"EndRefused", nullptr};
constexpr Ending kDone{"Done", nullptr};

// The ending that outweighs the others the run had.
const Ending& EndingOf(const RunProgress& run, bool portGone) {
    if (portGone) return run.portLost ? kPortLost : kPortClosed;
    if (run.cancelled) return kCancelled;
    if (!run.unknown.empty()) return kNoAnswer;
    if (!run.refused.empty()) return kRefused;
    return kDone;
}

// The log's account of a run that wrote and did not simply succeed: every write confirmed,
// refused, sent without an answer, or not sent.
void LogSummary(AppWindow& frame, const RunProgress& run, const Ending& ending) {
    const bool wrote = !run.written.empty() || !run.refusedWrites.empty() ||
                       !run.unknownWrites.empty() || !run.notSent.empty();
    if (!wrote || (&ending == &kDone && run.notSent.empty())) return;
    std::string line = &ending == &kCancelled ? LabelText(kSection, "Cancelled").str() + " " : "";
    line += SummaryPart("Written", run.written, true).substr(1);
    line += SummaryPart("Refused", run.refusedWrites, false);
    line += SummaryPart("Unknown", run.unknownWrites, false);
    line += SummaryPart("NotSent", run.notSent, false);
    LogAppend(frame, line + "\r\n");
}

// The run is over: the log accounts for its writes, the bar and the device state say how it
// ended, and the next run starts afresh.
void FinishRun(AppWindow& frame, bool portGone) {
    RunProgress& run = frame.progress;
    const Ending& ending = EndingOf(run, portGone);
    LogSummary(frame, run, ending);
    const std::string names = Joined(&ending == &kNoAnswer ? run.unknown : run.refused);
    const std::string text = FilledLabel(kSection, ending.bar, {{"names", names}});
    if (ending.deviceNote) {
        ShowDeviceStateNote(frame, ending.deviceNote);
    } else if (!portGone) {
        // A note of an earlier run goes once a run ends well.
        SetDeviceState(frame, frame.loggedIn);
    }
    StartOver(run);
    Show(frame, 100, text, false);
    // A full bar alone would pass for success.
    if (&ending == &kDone) return;
    if (CControlUI* bar = frame.paintManager.FindControl("JobProgress")) bar->SetProblemMark(text);
}

}  // namespace

std::string JobName(AppWindow& frame, const CommandJob& job) {
    return job.key.empty() ? CommandWord(job.command) : FormLabelOf(frame, job.key);
}

void ShowJobStarted(AppWindow& frame, const CommandJob& job) {
    RunProgress& run = frame.progress;
    run.listingJob = ListingKey(job.type) ? job.type : JobType::None;
    // Short queries (signal, version, ...) show no bar.
    if (run.listingJob != JobType::None || job.type == JobType::WriteParameter ||
        job.type == JobType::RestoreFactory) {
        run.running = true;
    }
    if (run.listingJob != JobType::None) {
        Show(frame, 0,
             FilledLabel(kSection, ListingKey(job.type),
                         {{"done", Kilobytes(0)}, {"total", Kilobytes(run.expectedListing)}}),
             true);
    } else if (job.type == JobType::WriteParameter) {
        ++run.writesStarted;
        const int total =
            run.writesStarted + static_cast<int>(frame.jobQueue.CountOf(JobType::WriteParameter));
        Show(frame, (run.writesStarted - 1) * 100 / total,
             FilledLabel(kSection, "Writing",
                         {{"n", std::to_string(run.writesStarted)},
                          {"total", std::to_string(total)},
                          {"name", JobName(frame, job)}}),
             true);
    } else if (job.type == JobType::RestoreFactory) {
        Show(frame, 0, LabelText(kSection, "Restoring").str(), true);
    }
}

void ShowReceivedProgress(AppWindow& frame) {
    RunProgress& run = frame.progress;
    // While the line settles before the command, what arrives is the previous command's.
    if (run.listingJob == JobType::None || frame.pendingJobType == JobType::Settling) return;
    if (frame.answerEvent.IsSet() && frame.rxLength > kListingMinimum) {
        // The next listing of this unit is expected to be as long as this one.
        run.expectedListing = frame.rxLength;
    }
    const int expected =
        run.expectedListing > frame.rxLength ? run.expectedListing : frame.rxLength;
    const bool complete = frame.answerEvent.IsSet();
    const int percent = complete ? 100 : frame.rxLength * 99 / expected;
    Show(frame, percent,
         FilledLabel(kSection, ListingKey(run.listingJob),
                     {{"done", Kilobytes(frame.rxLength)}, {"total", Kilobytes(expected)}}),
         true);
}

void NoteWriteConfirmed(AppWindow& frame, const std::string& name) {
    frame.progress.written.push_back(FormLabelOf(frame, name));
}

void NoteJobEnded(AppWindow& frame, const CommandJob& job, JobOutcome outcome) {
    RunProgress& run = frame.progress;
    const bool write = job.type == JobType::WriteParameter;
    const std::string name = JobName(frame, job);
    switch (outcome) {
        case JobOutcome::Ok:
            break;  // a confirmed write was noted with its result (NoteWriteConfirmed)
        case JobOutcome::Error:
            run.refused.push_back(name);
            if (write) run.refusedWrites.push_back(name);
            break;
        case JobOutcome::Timeout:
        case JobOutcome::PortLost:
            run.unknown.push_back(name);
            if (write) run.unknownWrites.push_back(name);
            break;
        case JobOutcome::NotSent:
            if (write) run.notSent.push_back(name);
            break;
    }
}

void EndRunProgress(AppWindow& frame) {
    if (frame.progress.running) FinishRun(frame, false);
}

void HideRunProgress(AppWindow& frame) {
    // A run the port's going ended says so; otherwise there is nothing left to show.
    if (frame.progress.running) return FinishRun(frame, true);
    StartOver(frame.progress);
    if (CControlUI* row = frame.paintManager.FindControl("ProgressRow")) row->SetVisible(false);
}

int CancelRun(AppWindow& frame) {
    RunProgress& run = frame.progress;
    if (frame.leaveThen) return 0;
    // What was written is still checked: the read-back stays.
    const std::vector<CommandJob> dropped = frame.jobQueue.TakeAllBut(JobType::ReadBack);
    run.cancelled = run.running;
    WithdrawCancel(frame);
    ReportNotSent(frame, dropped);
    return static_cast<int>(dropped.size());
}

void WithdrawCancel(AppWindow& frame) {
    if (CControlUI* cancel = frame.paintManager.FindControl("CancelJobs")) {
        cancel->SetVisible(false);
    }
}
