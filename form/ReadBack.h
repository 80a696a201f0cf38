#pragma once
// Every run of writes ends with the unit's listing read again: a unit may answer OK and keep
// its old value, and only the listing tells. Each confirmed write is compared with what the
// unit lists for it, through the list's read rule where the texts differ.
//
// Threads: UI thread only. The check of what comes back is the chain's (ListingFlow.h).

class FormWindow;

// Queues the read-back ("\r\nAT+SHOW\r\n", job type ReadBack) behind the jobs queued now.
void QueueReadBack(FormWindow& frame);
