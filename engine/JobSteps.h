#pragma once
// The parts of a job that touch the receive state. The
// worker has each of them run on the UI thread (CallOnUi); only there may they run.
//
// A late answer to the previous command must not complete or satisfy the next job. After a
// time-out the worker first gives that answer a grace period to arrive (it completes the
// timed-out kind, which stays pending). Then a job starts in two steps: PrepareJobStart
// empties the receive state and parks the pending kind at JobType::Settling (received text is
// logged but completes nothing); the worker waits a short quiet span and asks ArmJobWhenQuiet,
// which arms the job only when nothing arrived in that span, and otherwise empties the buffer again
// for another span. What the old command still brings is thus received and thrown away before
// the new command is written.
//
// Threads: UI thread only.
#include <string>

#include "engine/CommandJob.h"

class EngineWindow;

// Stops the prompt answers, parks the pending kind at JobType::Settling, resets the answer event
// and empties the receive buffer; a Login that awaits its greeting is left alone.
void PrepareJobStart(EngineWindow& frame);
// Arms the job (pending kind = its type, event reset, buffer empty, prompt answers stopped)
// when nothing arrived since the last call or PrepareJobStart, and returns true; otherwise
// empties the buffer for another quiet span and returns false. While a Login awaits the unit's
// greeting the state is left alone (false).
bool ArmJobWhenQuiet(EngineWindow& frame, JobType type);
// Arms the job whatever arrived (a line that never falls quiet).
void ArmJob(EngineWindow& frame, JobType type);
// A result line of the job as the log shows it, the label of `key` in [WorkerJobThreadProc]
// and a line end; a write's line starts with what it wrote: its parameter's label as the form
// shows it (the parameterLabel hook; a write without a parameter, the clock, its command word)
// and ": ".
std::string JobResultLine(EngineWindow& frame, const CommandJob& job, const char* key);
