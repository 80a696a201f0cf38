#pragma once
// The chain of steps after the unit's listing arrived, above the form's data operations: the
// form is filled and what it gives remembered as read; a read-for-apply has the loaded file's
// values reviewed and applied; a read-back is checked against the writes it follows. The form's
// other files know nothing of this order; only these steps call across them.
//
// Threads: UI thread only (the worker reaches the steps through its result hook).
#include "ui/Types.h"

class FormWindow;

// Handler of message 2126: parses the listing in the receive buffer into the parameter table,
// then fills the form from it (ShowValues) and remembers what it gives as read
// (RememberFormAsRead). Returns 0.
LRESULT OnParseAnswer(FormWindow& frame);

// After a read-for-apply answer: the unit's values parsed from the receive buffer into the
// table, then the writes that bring the unit to what the form shows (only the parameters the
// loaded file held, see ConfigFiles.h), reviewed first (WriteReview.h).
void ParseApplyAnswer(FormWindow& frame);

// The read-back's result: with a complete listing in the receive buffer, each confirmed write
// (confirmedWrites) the unit does not hold goes into notKept, one log line each ([Notify]
// NotKept and the name) and one message box listing them all ([Notify] NotKeptBox); then the
// form shows the listing as after "Load". Without a complete listing nothing can be checked:
// the log says so ([Notify] ReadBackMissing) and the form stays. Either way the confirmed
// writes are forgotten.
void CheckReadBack(FormWindow& frame);
