#include "SystemClock.h"

namespace async {

Clock::TimerId SystemClock::schedule(Duration delay, std::function<void()> callback) {
    const TimerId id = nextId_++;
    auto timer = std::make_unique<QTimer>();
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer.get(), &QTimer::timeout, timer.get(), [this, id, callback = std::move(callback)] {
        auto fn = callback;
        // The timer goes later: it is the sender of the signal being delivered.
        if (auto it = timers_.find(id); it != timers_.end()) {
            it->second.release()->deleteLater();
            timers_.erase(it);
        }
        fn();
    });
    timer->start(delay);
    timers_.emplace(id, std::move(timer));
    return id;
}

void SystemClock::cancel(TimerId id) {
    if (auto it = timers_.find(id); it != timers_.end()) {
        it->second->stop();
        it->second.release()->deleteLater();
        timers_.erase(it);
    }
}

} // namespace async
