#pragma once
// Every run of writes ends with the unit's listing read again: a unit may answer OK and keep
// its old value, and only the listing tells. Each confirmed write is compared with what the
// unit lists for it, through the list's read rule where the texts differ.
//
// Threads: UI thread only (the worker reaches CheckReadBack through its result step).

class CM5Z30FrameWnd;

// Queues the read-back ("\r\nAT+SHOW\r\n", job type ReadBack) behind the jobs queued now.
void QueueReadBack(CM5Z30FrameWnd& frame);

// The read-back's result: with a complete listing in the receive buffer, each confirmed write
// (confirmedWrites) the unit does not hold goes into notKept, one log line each ([Notify]
// NotKept and the name) and one message box listing them all ([Notify] NotKeptBox); then the
// form shows the listing as after "Load". Without a complete listing nothing can be checked:
// the log says so ([Notify] ReadBackMissing) and the form stays. Either way the confirmed
// writes are forgotten.
void CheckReadBack(CM5Z30FrameWnd& frame);
