#include "engine/Progress.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/FrameWnd.h"
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

// A write without a parameter (the clock) is named by its command word.
std::string CommandWord(const std::string& command) {
    const std::size_t end = command.find_first_of("=\r\n");
    return command.substr(0, end);
}

// A write as the engineer knows it: by its label on the form.
std::string WriteName(CM5Z30FrameWnd& frame, const CommandJob& job) {
    return job.key.empty() ? CommandWord(job.command) : FormLabelOf(frame, job.key);
}

std::string Joined(const std::vector<std::string>& names) {
    if (names.empty()) return LabelText(kSection, "Nothing").str();
    std::string all;
    for (const std::string& name : names) all += (all.empty() ? "" : ", ") + name;
    return all;
}

// Cancel has something to drop: a job queued besides the read-back, which always runs.
bool AnythingToDrop(const CM5Z30FrameWnd& frame) {
    return frame.jobQueue.Size() > frame.jobQueue.CountOf(JobType::ReadBack);
}

std::string Kilobytes(int bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", bytes / 1024.0);
    return text;
}

// Cancel is offered while a run goes on and has not been cancelled.
void Show(CM5Z30FrameWnd& frame, int percent, const std::string& step, bool running) {
    const bool cancellable = running && !frame.progress.cancelled && AnythingToDrop(frame);
    if (auto* bar = dynamic_cast<CProgressUI*>(frame.paintManager.FindControl("JobProgress"))) {
        bar->SetValue(percent);
        bar->SetText(step);
    }
    if (CControlUI* row = frame.paintManager.FindControl("ProgressRow")) row->SetVisible(true);
    if (CControlUI* cancel = frame.paintManager.FindControl("CancelJobs")) {
        cancel->SetVisible(cancellable);
    }
}

}  // namespace

void ShowJobStarted(CM5Z30FrameWnd& frame, const CommandJob& job) {
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
                          {"name", WriteName(frame, job)}}),
             true);
    } else if (job.type == JobType::RestoreFactory) {
        Show(frame, 0, LabelText(kSection, "Restoring").str(), true);
    }
}

void ShowReceivedProgress(CM5Z30FrameWnd& frame) {
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

void NoteWriteConfirmed(CM5Z30FrameWnd& frame, const std::string& name) {
    frame.progress.written.push_back(FormLabelOf(frame, name));
}

void EndRunProgress(CM5Z30FrameWnd& frame) {
    RunProgress& run = frame.progress;
    if (!run.running) return;
    if (run.cancelled) {
        LogAppend(frame, FilledLabel(
                             kSection, "Cancelled",
                             {{"written", Joined(run.written)}, {"notsent", Joined(run.notSent)}}) +
                             "\r\n");
    }
    StartOver(run);
    Show(frame, 100, LabelText(kSection, "Done").str(), false);
}

void HideRunProgress(CM5Z30FrameWnd& frame) {
    StartOver(frame.progress);
    if (CControlUI* row = frame.paintManager.FindControl("ProgressRow")) row->SetVisible(false);
}

int CancelRun(CM5Z30FrameWnd& frame) {
    RunProgress& run = frame.progress;
    // What was written is still checked: the read-back stays.
    const std::vector<CommandJob> dropped = frame.jobQueue.TakeAllBut(JobType::ReadBack);
    for (const CommandJob& job : dropped) {
        if (job.type == JobType::WriteParameter) run.notSent.push_back(WriteName(frame, job));
    }
    run.cancelled = run.running;
    if (CControlUI* cancel = frame.paintManager.FindControl("CancelJobs")) {
        cancel->SetVisible(false);
    }
    ReportNotSent(frame, dropped);
    return static_cast<int>(dropped.size());
}
