#pragma once
// The frame's timer procedure: 101 writes "s" while the unit is prompting, 102 shows the about
// and help texts once after start-up.
//
// Threads: UI thread only.
#include "ui/Types.h"

class CM5Z30FrameWnd;

inline constexpr UINT kPromptTimer = 101;
inline constexpr UINT kStartupTimer = 102;

void OnFrameTimer(CM5Z30FrameWnd& frame, UINT id);
