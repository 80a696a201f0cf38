#pragma once
// A manual-reset event: set by the receive path when the awaited answer is complete, reset at
// each job start, waited on by the worker with the job's time-out.
//
// Threads: Set and Reset on the UI thread (Reset through the worker's job start, which runs
// there), Wait and WaitFor on the worker, IsSet anywhere.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stop_token>

#include "engine/Clock.h"

class AnswerEvent {
  public:
    // Sets the event and wakes the waiter. Any thread.
    void Set();
    // Clears the event. Any thread.
    void Reset();
    // True while set. Any thread.
    bool IsSet() const;
    // Waits on the steady clock until set or the time-out passed; true when set.
    bool Wait(std::chrono::milliseconds timeout);
    // Waits until set, the time-out passed on clock, or stop was requested; true when set.
    bool WaitFor(Clock& clock, Clock::Duration timeout, std::stop_token stop);

  private:
    mutable std::mutex mutex_;
    std::condition_variable_any changed_;
    bool set_ = false;
};
