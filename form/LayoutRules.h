#pragma once
// The layout rules: each reshapes the form for one of the user's choices.
//
// Threads: UI thread only.
#include "ui/Types.h"

class CM5Z30FrameWnd;

// Handler of message 2124: runs rule code (0 to 19; 15 and 16 are one rule) with its argument.
void ApplyLayoutRule(CM5Z30FrameWnd& frame, int code, LPARAM argument);
