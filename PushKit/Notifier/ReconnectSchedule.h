#pragma once

#include <chrono>
#include <functional>

// How long the push stream waits before it tries again: capped exponential back-off with jitter.
// The n-th wait in a row is drawn from [d/2, d] with d = 1 s doubled n-1 times, at most 60 s.
// A connection that stayed up `steadyAfter` resets the schedule to its start.
class ReconnectSchedule {
public:
    using Duration = std::chrono::milliseconds;
    // A number drawn uniformly from [0, 1).
    using Random = std::function<double()>;

    static constexpr Duration first{1000};
    static constexpr Duration cap{60000};
    static constexpr Duration steadyAfter{30000};

    // `random` defaults to the system's random source.
    explicit ReconnectSchedule(Random random = {});

    // The wait before the next attempt; the one after it is twice as long (up to the cap).
    Duration nextDelay();
    void reset() { ceiling_ = first; }

private:
    Random random_;
    Duration ceiling_ = first;
};
