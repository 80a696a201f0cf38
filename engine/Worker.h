#pragma once
// The worker: takes one job at a time from the queue, writes its command and waits for its
// answer or its time-out.
//
// Threads: runs on its own thread; reaches UI-thread state only through synchronous sends.
#include <stop_token>

class CM5Z30FrameWnd;

// The worker's thread procedure; returns when stop is requested.
void WorkerJobThreadProc(CM5Z30FrameWnd* frame, std::stop_token stop);
