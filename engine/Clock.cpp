#include "engine/Clock.h"

#include <vector>

namespace {

SteadyClock g_steadyClock;
std::atomic<Clock*> g_engineClock{nullptr};

}  // namespace

Clock::TimePoint FakeClock::Now() const {
    return TimePoint(Duration(elapsed_.load()));
}

Clock::Subscription FakeClock::OnJump(std::function<void()> wake) {
    std::lock_guard lock(mutex_);
    const int id = nextId_++;
    wakers_.emplace(id, std::move(wake));
    return Subscription([this, id] {
        std::lock_guard lock(mutex_);
        wakers_.erase(id);
    });
}

void FakeClock::Advance(Duration step) {
    elapsed_.fetch_add(step.count());
    // The wakers run under the clock's lock, so a subscription cannot end while its waker is
    // being called; a waker only takes its waiter's lock, which no one holds while subscribing.
    std::lock_guard lock(mutex_);
    for (auto& [id, wake] : wakers_) wake();
}

int FakeClock::Subscribers() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(wakers_.size());
}

Clock& EngineClock() {
    Clock* clock = g_engineClock.load();
    return clock ? *clock : g_steadyClock;
}

Clock* SetEngineClock(Clock* clock) {
    return g_engineClock.exchange(clock);
}
