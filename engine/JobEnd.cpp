#include "engine/JobEnd.h"

#include "app/Progress.h"

void ReportJobEnd(CM5Z30FrameWnd& frame, const CommandJob& job, JobOutcome outcome) {
    // The window's own account of the run first (the bar, the log's summary).
    NoteJobEnded(frame, job, outcome);
    if (frame.jobObserver) frame.jobObserver(job, outcome);
}

bool TakeJobOffLine(CM5Z30FrameWnd& frame) {
    if (!frame.jobOnLine) return false;
    frame.jobOnLine.reset();
    return true;
}

void EndJobsOfLostLine(CM5Z30FrameWnd& frame) {
    ForgetOwedAnswers(frame.lineSync);
    if (frame.jobOnLine && !frame.answerEvent.IsSet()) {
        const CommandJob job = std::move(*frame.jobOnLine);
        frame.jobOnLine.reset();
        // What still arrives (a reopened port's greeting) is no answer of this job's.
        frame.pendingJobType = JobType::None;
        frame.answerEvent.Set();
        // The worker's own probe is no job of anybody's.
        if (job.type != JobType::Resync) ReportJobEnd(frame, job, JobOutcome::PortLost);
    }
    ReportNotSent(frame, frame.jobQueue.TakeAll());
}

void ReportNotSent(CM5Z30FrameWnd& frame, const std::vector<CommandJob>& jobs) {
    for (const CommandJob& job : jobs) ReportJobEnd(frame, job, JobOutcome::NotSent);
}
