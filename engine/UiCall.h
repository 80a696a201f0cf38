#pragma once
// How the worker has something done on the UI thread: a synchronous send of 2140 with the
// function, which the frame runs and answers with its result.
//
// Threads: the worker (any thread other than the UI thread waits; the UI thread runs fn at
// once).
#include <functional>

#include "ui/Types.h"

class EngineWindow;

// Runs fn on the UI thread and returns its result; 0 without running it when the window's send
// gate is closed (the worker is being stopped) or the window is gone.
LRESULT CallOnUi(EngineWindow& frame, const std::function<LRESULT()>& fn);
