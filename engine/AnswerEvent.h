#pragma once
// A manual-reset event: set by the receive path when the awaited answer is complete, reset by
// the worker before each command, waited on by the worker with the job's time-out.
//
// Threads: Set and Reset on the UI thread (Reset through the worker's job start), Wait on
// the worker.
#include <chrono>
#include <condition_variable>
#include <mutex>

class AnswerEvent {
public:
    void Set();
    void Reset();
    bool IsSet() const;
    // Waits until set or the time-out passed; true when set.
    bool Wait(std::chrono::milliseconds timeout);

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool set_ = false;
};
