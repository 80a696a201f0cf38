#pragma once
// The clock the worker measures its answer time-outs with. The real program uses the steady
// clock; a test puts a FakeClock in its place and advances it, so a 40-second time-out takes
// no 40 seconds.
//
// Threads: Now and OnJump from any thread. FakeClock::Advance from any thread; it calls the
// jump callbacks on the advancing thread, with no lock of the caller held. SetEngineClock
// before the worker starts and after it stopped.
#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <mutex>

class Clock {
  public:
    using TimePoint = std::chrono::steady_clock::time_point;
    using Duration = std::chrono::steady_clock::duration;

    // Ends a jump subscription when it goes.
    class Subscription {
      public:
        Subscription() = default;
        explicit Subscription(std::function<void()> cancel) : cancel_(std::move(cancel)) {}
        ~Subscription() {
            if (cancel_) cancel_();
        }
        Subscription(Subscription&& other) noexcept : cancel_(std::move(other.cancel_)) {
            other.cancel_ = nullptr;
        }
        Subscription& operator=(Subscription&&) = delete;
        Subscription(const Subscription&) = delete;

      private:
        std::function<void()> cancel_;
    };

    virtual ~Clock() = default;
    // The time now. Any thread.
    virtual TimePoint Now() const = 0;
    // Has wake called whenever the clock leaps ahead (a real clock never does), until the
    // subscription goes. Any thread; wake must not take a lock held around Now().
    virtual Subscription OnJump(std::function<void()> wake) { return {}; }
};

class SteadyClock : public Clock {
  public:
    TimePoint Now() const override { return std::chrono::steady_clock::now(); }
};

// A clock that stands still until Advance.
class FakeClock : public Clock {
  public:
    TimePoint Now() const override;
    Subscription OnJump(std::function<void()> wake) override;
    // Moves the time on and wakes every subscriber. Any thread.
    void Advance(Duration step);
    // How many waits are subscribed now: a test sees by it that the worker is waiting.
    int Subscribers() const;

  private:
    // Atomic so Now() takes no lock: a waiter reads it under its own lock, which a wake-up
    // takes in turn.
    std::atomic<Duration::rep> elapsed_{0};
    mutable std::mutex mutex_;
    std::map<int, std::function<void()>> wakers_;
    int nextId_ = 0;
};

// The clock of the worker's time-outs: a steady clock unless a test set another. Any thread.
Clock& EngineClock();
// Puts clock in place (null: the steady clock again); returns the previous one.
Clock* SetEngineClock(Clock* clock);

// Sets a clock for the lifetime of the object (tests).
class ScopedEngineClock {
  public:
    explicit ScopedEngineClock(Clock* clock) : previous_(SetEngineClock(clock)) {}
    ~ScopedEngineClock() { SetEngineClock(previous_); }
    ScopedEngineClock(const ScopedEngineClock&) = delete;
    ScopedEngineClock& operator=(const ScopedEngineClock&) = delete;

  private:
    Clock* previous_;
};
