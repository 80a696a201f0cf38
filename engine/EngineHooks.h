#pragma once
// What the engine asks of the application it runs in, as a table of calls the application fills
// in: the engine knows jobs, the line and the receive state, and nothing of the form, the
// progress bar or the files a job's answer ends up in. Every call is optional; an empty one is
// skipped, which is how the engine's tests run it alone.
//
// Threads: every hook is called on the UI thread (the worker reaches them through CallOnUi).
// The table is filled before the worker starts and left alone after.
#include <functional>
#include <string>

#include "engine/CommandJob.h"

// How a job ended. A write is exactly one of: confirmed (Ok: its answer held an OK line),
// refused (Error: an ERROR line), not sent (NotSent: never written, because it was dropped
// from the queue, cancelled, the port went before it or took only part of it), or sent with
// its outcome unknown (Timeout: no answer within its time-out and the grace after it;
// PortLost: the port went, lost or closed, while the command awaited its answer).
enum class JobOutcome { Ok, Error, Timeout, PortLost, NotSent };
// Whether the command went out and nobody can tell what the unit made of it.
constexpr bool OutcomeUnknown(JobOutcome outcome) {
    return outcome == JobOutcome::Timeout || outcome == JobOutcome::PortLost;
}
// Told of every job exactly once, on the UI thread: by the worker after the job's result step
// and while it waits (the queue holds exactly what that step queued); for a job the port's
// going or Cancel ended (the one on the line, those dropped from the queue), at that moment.
using JobObserver = std::function<void(const CommandJob& job, JobOutcome outcome)>;

struct EngineHooks {
    // The job is about to take the line.
    std::function<void(const CommandJob& job)> jobStarted;
    // Just before the job's command is written: false keeps it off the line (NotSent), as for
    // a write whose run the engineer stopped because the unit could not be backed up first.
    std::function<bool(const CommandJob& job)> beforeWrite;
    // The job's complete answer arrived: what it means to the application (a listing to show,
    // a value confirmed, a file to write). A refusal comes here only for the kinds that word
    // their own (a write, the factory reset); the engine logs every other kind's.
    std::function<void(const CommandJob& job)> jobResult;
    // The name a write's result line gives its parameter, as the engineer knows it.
    std::function<std::string(const std::string& key)> parameterLabel;
    // How every job ended, exactly once (JobObserver's rules).
    JobObserver jobEnded;
};
