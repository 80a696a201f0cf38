#pragma once
// The unit's listing into the form, and the form back into writes.
//
// Threads: UI thread only.
#include "ui/Types.h"

class CM5Z30FrameWnd;

// Handler of message 2126: parses the listing in the receive buffer into the parameter table,
// then fills the form from it. Returns 0.
LRESULT OnParseAnswer(CM5Z30FrameWnd& frame);
