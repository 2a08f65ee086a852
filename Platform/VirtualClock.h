#pragma once

#include "Clock.h"

#include <map>
#include <utility>

namespace async {

// A clock for tests: time stands still until the test advances it. Advancing fires the due
// timers in order, letting each woken task run before time moves on to the next one.
class VirtualClock final : public Clock {
public:
    explicit VirtualClock(QDateTime start = QDateTime(QDate(2026, 1, 1), QTime(9, 0), Qt::UTC));

    QDateTime now() const override { return now_; }
    TimerId schedule(Duration delay, std::function<void()> callback) override;
    void cancel(TimerId id) override;

    void advance(Duration by);
    // The wall clock is set to `time` (a resume from suspend, a clock change): now jumps, and the
    // pending timers keep the delays they had left, as the system's monotonic timers do.
    void setTime(const QDateTime& time);
    // Advances to the earliest pending timer and fires it; false when none is pending.
    bool advanceToNextTimer();
    int pendingTimers() const { return int(timers_.size()); }
    // Time until the earliest pending timer.
    Duration nextTimerIn() const;

private:
    struct Timer {
        QDateTime due;
        std::function<void()> callback;
    };
    void fire(std::map<std::pair<qint64, TimerId>, Timer>::iterator it);

    QDateTime now_;
    std::map<std::pair<qint64, TimerId>, Timer> timers_; // ordered by due time, then by creation
    std::map<TimerId, qint64> dueById_;
    TimerId nextId_ = 1;
};

} // namespace async
