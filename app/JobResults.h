#pragma once
// What a completed job's answer means to the application, by the job's type: the result
// labels, the value stored on a write's OK, parsing a listing, the .cfg file, the logged-out
// state, the network mode. The frame hands it to the engine as its jobResult hook.
//
// Threads: UI thread only.
#include "engine/CommandJob.h"

class AppWindow;

void HandleJobResult(AppWindow& frame, const CommandJob& job);
