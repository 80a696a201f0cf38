#pragma once
// The layout rules: each reshapes the form for one of the user's choices. Rules never run
// inside one another: every further rule a rule needs is posted (message 2124) and runs
// after it.
//
// Threads: UI thread only.
#include "form/FormContext.h"
#include "ui/Types.h"

class FormWindow;

// Handler of message 2124: runs rule code (0 to 19; 15 and 16 are one rule) with its argument.
void ApplyLayoutRule(FormWindow& frame, int code, LPARAM argument);

// The same on a context; codes outside 0 to 19 do nothing. UI thread.
void ApplyLayoutRule(FormContext& form, int code, LPARAM argument);

// Shows the I/O tab button (and enables its entry) unless every I/O control combo has given
// its channel away (none reads "None"); does nothing when one of the combos is missing.
// UI thread.
void ApplyIoTabRule(FormContext& form);
