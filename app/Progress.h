#pragma once
// The progress of the jobs the engineer started, under the device box: a bar with the step in
// words ("Reading parameters… 2.1 of 3.9 KB", "Writing 3 of 7: Server's Ip") and a Cancel
// button. A listing's size is expected to be that of the last listing read, or a typical one
// before the first. Cancel drops what is still queued; the command on the line finishes, so no
// write is ever cut in half, and the read-back of what was written still runs.
//
// Threads: UI thread only. A skin without the progress row shows nothing; the steps are still
// counted.
#include <string>
#include <vector>

#include "app/RunProgress.h"
#include "engine/CommandJob.h"

class AppWindow;
enum class JobOutcome;  // EngineHooks.h

// A job as the engineer knows it: a write by its parameter's label on the form, anything else
// (the clock, a query) by its command word.
std::string JobName(AppWindow& frame, const CommandJob& job);
// A job is about to be written (the worker, through a call on the UI thread).
void ShowJobStarted(AppWindow& frame, const CommandJob& job);
// A block arrived: a listing on the line moves the bar by the bytes received.
void ShowReceivedProgress(AppWindow& frame);
// The unit confirmed a write of the parameter.
void NoteWriteConfirmed(AppWindow& frame, const std::string& name);
// A job ended otherwise than confirmed (JobEnd.h tells every ending): kept for the run's end.
void NoteJobEnded(AppWindow& frame, const CommandJob& job, JobOutcome outcome);
// The queue ran dry: the bar stands at 100 % and says how the run ended: "Done", or what the
// unit refused, what it did not answer, or that it was cancelled; the device state says when
// the unit stopped answering. A run that wrote and did not simply succeed is summed up in the
// log: written, refused, no answer (unknown whether kept), not sent. Cancel goes.
void EndRunProgress(AppWindow& frame);
// The port closed: a run under way ends there as EndRunProgress ends it, saying that the port
// was lost or closed; otherwise the bar and Cancel go.
void HideRunProgress(AppWindow& frame);
// Cancel is no longer offered for this run (cancelled, or the window is being left).
void WithdrawCancel(AppWindow& frame);
// The Cancel button: drops every queued job but the read-back of what was written; nothing
// while the window is being left. Returns the number of jobs dropped.
int CancelRun(AppWindow& frame);
