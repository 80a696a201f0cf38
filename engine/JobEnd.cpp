#include "engine/JobEnd.h"

void ReportJobEnd(EngineWindow& frame, const CommandJob& job, JobOutcome outcome) {
    if (frame.hooks.jobEnded) frame.hooks.jobEnded(job, outcome);
}

bool TakeJobOffLine(EngineWindow& frame) {
    if (!frame.jobOnLine) return false;
    frame.jobOnLine.reset();
    return true;
}

void EndJobsOfLostLine(EngineWindow& frame) {
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

void ReportNotSent(EngineWindow& frame, const std::vector<CommandJob>& jobs) {
    for (const CommandJob& job : jobs) ReportJobEnd(frame, job, JobOutcome::NotSent);
}
