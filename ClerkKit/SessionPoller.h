#pragma once

#include "TaskScope.h"

#include <chrono>
#include <functional>

// Repeats an operation while it runs: 5 s after a success; after the n-th failure in a row,
// min(5 × 2ⁿ, 60) s times a random factor between 0.8 and 1.2. Waits go through the clock.
class SessionPoller {
public:
    using Operation = std::function<async::Task<void>()>;
    using RandomFactor = std::function<double()>;

    explicit SessionPoller(RandomFactor random = {});

    void start(Operation operation);
    void stop();
    bool isRunning() const;

    // The wait after `failures` consecutive failures (0 after a success), before the random factor.
    static std::chrono::milliseconds baseDelay(int failures);

private:
    static async::Task<void> poll(Operation operation, RandomFactor random);

    RandomFactor random_;
    async::TaskScope::TaskId task_ = 0;
    async::TaskScope scope_;
};
