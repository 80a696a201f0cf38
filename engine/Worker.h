#pragma once
// The worker: takes one job at a time from the queue, writes its command and waits for its
// answer or its time-out.
//
// Threads: runs on its own thread (the application's std::jthread). It reads the queue (under its
// lock), the atomics loggedIn and timeoutFactor and the port's IsOpen; everything else
// (writing the command, receive state, timers, controls, the parameter table) it has done on
// the UI thread through synchronous sends. Every wait ends promptly when stop is requested.
#include <chrono>
#include <stop_token>

class EngineWindow;

// The worker's pace: the pause after a write, and how often an idle worker looks at the login
// state for its idle notice (a queued job wakes it at once).
inline constexpr std::chrono::milliseconds kWorkerPollPeriod{100};
inline constexpr std::chrono::milliseconds kWorkerIdlePeriod{200};
// After a time-out, the line must stay this long without received bytes before the next
// command is written. A job whose answer came complete leaves nothing to wait for.
inline constexpr std::chrono::milliseconds kQuietSpan{50};
// At most this many quiet spans are waited for; then the command is written anyway.
inline constexpr int kQuietSpanRounds = 20;

// After a time-out the worker waits this long for the late answer of the timed-out command
// (measured on the engine clock); one that comes completes that job, marked late. Text later
// than that is logged and judged as nobody's answer until the next command is written. When
// it comes right behind the next command, the next job's answer is judged only once the line
// is quiet, so a refusal in it still wins.
inline constexpr std::chrono::milliseconds kLateAnswerGrace{2000};

// A listing comes as one stream: once its first parameter line is in, this long without a byte
// more means the unit stopped mid-listing, and the wait ends as the listing's time-out would
// (which allows for the slowest baud rate, and so waits long on a fast line).
inline constexpr std::chrono::milliseconds kListingStall{3000};

// The worker's thread procedure; returns when stop is requested (at once for a null window).
void WorkerJobThreadProc(EngineWindow* frame, std::stop_token stop);
