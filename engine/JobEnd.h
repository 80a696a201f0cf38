#pragma once
// How jobs end when no answer of theirs ends them: the port went (closed by the user or lost)
// while a command awaited its answer, or queued jobs were dropped before they were written.
// With the worker's own endings (Worker.cpp) every job reaches the job observer exactly once.
//
// Threads: UI thread only.
#include <vector>

#include "engine/EngineWindow.h"

// Tells the application (its jobEnded hook, when there is one) how the job ended.
void ReportJobEnd(EngineWindow& frame, const CommandJob& job, JobOutcome outcome);
// Ends the job on the line: false when the port's going ended it already. The worker calls it
// (through the UI thread) for every job it wrote.
bool TakeJobOffLine(EngineWindow& frame);
// The port went: the job on the line ends as PortLost at once unless its complete answer is
// there already (the worker then finishes it as answered); nothing is awaited any more and the
// worker is woken. Every queued job ends as NotSent.
void EndJobsOfLostLine(EngineWindow& frame);
// Reports every one of the jobs, taken out of the queue unwritten, as NotSent.
void ReportNotSent(EngineWindow& frame, const std::vector<CommandJob>& jobs);
