#pragma once
// Leaving the window (closing it, or restarting it in the other language) throws nothing away:
// pending edits are asked about first; a run under way ends without cutting a command in half
// (the command on the line finishes, the log names the writes that were not sent); a unit in
// its setting mode is left with at+quit, as the command line leaves it; only then does the
// window go.
//
// Threads: UI thread only.
#include <functional>

class AppWindow;

// The close button, the system's close command and a close from the window manager: asks about
// pending edits ([Discard] Close), then winds the line down (LeaveWhenLineIsDone) and closes
// (`close`). A request while the line is being wound down closes at once.
void RequestClose(AppWindow& frame, std::function<void()> close);

// Drops every queued job (the log names the writes among them), queues at+quit when the unit
// is in its setting mode, and runs `then` once the worker has finished the command on the line
// and the at+quit; at once when there is no open port or no worker.
void LeaveWhenLineIsDone(AppWindow& frame, std::function<void()> then);

// Whether the line is being wound down before the window goes.
bool IsLeaving(const AppWindow& frame);
