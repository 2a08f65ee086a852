#include "SessionPoller.h"

#include "Clock.h"

#include <QRandomGenerator>

#include <cmath>

SessionPoller::SessionPoller(RandomFactor random)
    : random_(random ? std::move(random) : RandomFactor([] {
          return 0.8 + 0.4 * QRandomGenerator::global()->generateDouble();
      })) {}

std::chrono::milliseconds SessionPoller::baseDelay(int failures) {
    if (failures <= 0)
        return std::chrono::seconds(5);
    const double seconds = std::min(5.0 * std::pow(2.0, std::min(failures, 16)), 60.0);
    return std::chrono::milliseconds(qint64(seconds * 1000));
}

void SessionPoller::start(Operation operation) {
    if (isRunning())
        return;
    task_ = scope_.spawn(poll(std::move(operation), random_));
}

void SessionPoller::stop() {
    scope_.cancel(task_);
}

bool SessionPoller::isRunning() const {
    return scope_.isRunning(task_);
}

async::Task<void> SessionPoller::poll(Operation operation, RandomFactor random) {
    int failures = 0;
    for (;;) {
        auto delay = baseDelay(failures);
        if (failures > 0)
            delay = std::chrono::milliseconds(qint64(std::llround(delay.count() * random())));
        co_await async::Clock::current().sleep(delay);
        try {
            co_await operation();
            failures = 0;
        } catch (...) {
            ++failures;
        }
    }
}
