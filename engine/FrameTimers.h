#pragma once
// The frame's timer procedure: 101 writes "s" while the unit is prompting, 102 shows the about
// and help texts once after start-up.
//
// Threads: UI thread only.
#include "ui/Types.h"

class EngineWindow;

inline constexpr UINT kPromptTimer = 101;
inline constexpr UINT kStartupTimer = 102;
// Looks at the line while it is wound down before the window goes (Leave.h).
inline constexpr UINT kLeaveTimer = 103;
// Ends the wait for the unit's greeting after a Login (CommandState.h).
inline constexpr UINT kLoginTimer = 104;

// The procedure of every frame timer: 101 writes "s" (nothing logged), 102 kills itself and
// shows the about and help texts (2130); other ids are ignored.
void OnFrameTimer(EngineWindow& frame, UINT id);
// Starts timer 101 with the period on the frame's timer procedure, replacing a running one.
void StartPromptTimer(EngineWindow& frame, UINT periodMs);
