#include "engine/AnswerEvent.h"

void AnswerEvent::Set() {
    std::lock_guard lock(mutex_);
    set_ = true;
    changed_.notify_all();
}

void AnswerEvent::Reset() {
    std::lock_guard lock(mutex_);
    set_ = false;
}

bool AnswerEvent::IsSet() const {
    std::lock_guard lock(mutex_);
    return set_;
}

bool AnswerEvent::Wait(std::chrono::milliseconds timeout) {
    SteadyClock clock;
    return WaitFor(clock, timeout, std::stop_token());
}

bool AnswerEvent::WaitFor(Clock& clock, Clock::Duration timeout, std::stop_token stop) {
    const Clock::TimePoint deadline = clock.Now() + timeout;
    // Subscribed before the lock is taken and released after it is given back: the clock
    // calls the waker under its own lock, and the waker takes ours.
    Clock::Subscription jumps = clock.OnJump([this] {
        std::lock_guard lock(mutex_);
        changed_.notify_all();
    });
    std::unique_lock lock(mutex_);
    while (!set_) {
        if (stop.stop_requested()) return false;
        const Clock::TimePoint now = clock.Now();
        if (now >= deadline) return false;
        // Woken by Set, by stop, by a leap of the clock, or when the time left has passed in
        // real time (the same moment for the steady clock).
        changed_.wait_for(lock, stop, deadline - now,
                          [&] { return set_ || clock.Now() >= deadline; });
    }
    return true;
}
