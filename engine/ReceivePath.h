#pragma once
// The receive path: everything the unit sends, gathered in the frame's receive buffer, judged
// for the awaited answer and for the unit's configuration mode.
//
// Threads: UI thread only.
#include "ui/Types.h"

class CM5Z30FrameWnd;

// Handler of message 1034: one received block (at most 4095 bytes; the buffer has room for a
// terminating zero). Returns 0.
LRESULT OnReceive(CM5Z30FrameWnd& frame, char* block, int count);
