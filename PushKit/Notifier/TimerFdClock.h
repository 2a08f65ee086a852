#pragma once

#include "Clock.h"

#include <map>
#include <memory>

class QSocketNotifier;

// The agent's clock: wall-clock time, and timers that sleep in the kernel until a wall-clock
// instant (timerfd on CLOCK_REALTIME, absolute). Such a timer fires on time after a suspend, and
// at once when the clock is set past it; when the clock is set it is re-armed for the same
// instant. Nothing wakes the process in between.
// `offset` shifts the agent's idea of now (ORBELO_NOTIFIER_CLOCK_OFFSET_SECONDS, for end-to-end
// tests); timers keep their length.
class TimerFdClock final : public async::Clock {
public:
    explicit TimerFdClock(std::chrono::seconds offset = {});
    ~TimerFdClock() override;

    // The offset given in ORBELO_NOTIFIER_CLOCK_OFFSET_SECONDS (0 when unset or not a number).
    static std::chrono::seconds offsetFromEnvironment();

    QDateTime now() const override;
    TimerId schedule(Duration delay, std::function<void()> callback) override;
    void cancel(TimerId id) override;

private:
    struct Timer;
    void onReadable(TimerId id);

    std::chrono::seconds offset_;
    std::map<TimerId, std::unique_ptr<Timer>> timers_;
    TimerId nextId_ = 1;
};
