#pragma once
// The moment a job takes the line: its pending kind is armed and its command written in one
// step on the UI thread, where the receive path runs, so no text received before the write can
// be judged as the command's answer, and "Send:" is logged only for a command the port took.
//
// Threads: UI thread only (the worker calls these through CallOnUi).
#include "engine/CommandJob.h"

class EngineWindow;

// Never 0: a refused call to the UI thread returns 0, which is none of these.
enum class WriteStep {
    LineBusy = 1,  // text arrived since the last look: wait another quiet span
    LoginPending,  // a Login awaits the unit's greeting: the line is not the job's yet
    Written,       // the whole command went out and the job awaits its answer
    NotSent,       // the port took less than the command: the job ends here
};

// Arms the job and writes its command when the line is the job's (it is then the job on the
// line until it ends): at once with force,
// otherwise only when nothing arrived in the last quiet span (ArmJobWhenQuiet). A Login that
// awaits its greeting keeps the line while loginMayWait. A short write logs [WorkerJobThreadProc]
// NotSent with the command and leaves nothing pending. A write the application's beforeWrite hook
// refuses (its run stopped for want of a backup) is not sent either (NotSent, nothing logged
// here).
WriteStep ArmAndWrite(EngineWindow& frame, const CommandJob& job, bool force, bool loginMayWait);
// Ends the grace after a time-out: true when the late answer completed the job after all;
// otherwise nothing is pending any more, so later text is logged but never judged. False too
// when the port's going ended the job already.
bool EndGrace(EngineWindow& frame, JobType type);
