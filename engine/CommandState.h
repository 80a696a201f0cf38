#pragma once
// The command buttons' enabled states, the device-state label and the network-mode answer.
//
// Threads: UI thread only.
#include "ui/Types.h"

class CM5Z30FrameWnd;

// Handler of message 2131: wParam 1 enables, anything else disables the group lParam (0 login
// state, 1 port state, 2 busy or idle, 3 port opened). Returns 0.
LRESULT ShowCommandState(CM5Z30FrameWnd& frame, WPARAM wParam, LPARAM lParam);
