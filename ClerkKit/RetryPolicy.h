#pragma once

#include <chrono>

// How often and how patiently retryingOperation repeats a failed operation.
struct RetryPolicy {
    int maxAttempts = 3;
    std::chrono::milliseconds initialDelay{500};
    std::chrono::milliseconds maximumDelay{4000};

    // The wait after failure number `failure` (1, 2, …).
    std::chrono::milliseconds delayAfter(int failure) const {
        using namespace std::chrono;
        const milliseconds doubled(initialDelay.count() * (qint64(1) << std::min(failure - 1, 30)));
        const auto delay = std::min(doubled, maximumDelay);
        return delay.count() > 0 ? delay : milliseconds(0);
    }
};
