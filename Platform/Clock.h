#pragma once

#include "Wakeup.h"

#include <QDateTime>

#include <chrono>
#include <functional>

namespace async {

class SleepAwaiter;

// The source of "now" and of every wait in the code. Production code uses Clock::current(), which
// is the system clock unless a test has installed a virtual one (ScopedClock).
class Clock {
public:
    using Duration = std::chrono::milliseconds;
    using TimerId = quint64;

    virtual ~Clock() = default;

    virtual QDateTime now() const = 0;
    // Calls `callback` once, `delay` from now, unless cancelled first.
    virtual TimerId schedule(Duration delay, std::function<void()> callback) = 0;
    virtual void cancel(TimerId id) = 0;

    // co_await clock.sleep(d): suspends the calling task; destroying the task cancels the wait.
    SleepAwaiter sleep(Duration delay);

    static Clock& current();
    static Clock& system();

private:
    friend class ScopedClock;
    static Clock* override_;
};

class SleepAwaiter {
public:
    SleepAwaiter(Clock& clock, Clock::Duration delay) : clock_(clock), delay_(delay) {}
    SleepAwaiter(const SleepAwaiter&) = delete;
    SleepAwaiter& operator=(const SleepAwaiter&) = delete;
    ~SleepAwaiter();

    bool await_ready() const noexcept { return delay_.count() <= 0; }
    void await_suspend(std::coroutine_handle<> handle);
    void await_resume() noexcept {}

private:
    Clock& clock_;
    Clock::Duration delay_;
    Clock::TimerId timer_ = 0;
    Wakeup wakeup_;
};

// Installs `clock` as Clock::current() for its own lifetime (tests).
class ScopedClock {
public:
    explicit ScopedClock(Clock& clock) : previous_(Clock::override_) { Clock::override_ = &clock; }
    ~ScopedClock() { Clock::override_ = previous_; }
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;

private:
    Clock* previous_;
};

} // namespace async
