#include "VirtualClock.h"

#include <QCoreApplication>

namespace async {

VirtualClock::VirtualClock(QDateTime start) : now_(std::move(start)) {}

Clock::TimerId VirtualClock::schedule(Duration delay, std::function<void()> callback) {
    const TimerId id = nextId_++;
    const QDateTime due = now_.addMSecs(std::max<qint64>(0, delay.count()));
    timers_.emplace(std::make_pair(due.toMSecsSinceEpoch(), id), Timer{due, std::move(callback)});
    dueById_.emplace(id, due.toMSecsSinceEpoch());
    return id;
}

void VirtualClock::cancel(TimerId id) {
    auto it = dueById_.find(id);
    if (it == dueById_.end())
        return;
    timers_.erase({it->second, id});
    dueById_.erase(it);
}

void VirtualClock::fire(std::map<std::pair<qint64, TimerId>, Timer>::iterator it) {
    now_ = std::max(now_, it->second.due);
    auto callback = std::move(it->second.callback);
    dueById_.erase(it->first.second);
    timers_.erase(it);
    callback();
    // Let the woken tasks run (wake-ups are posted) before looking at the next timer.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
}

void VirtualClock::advance(Duration by) {
    const qint64 end = now_.toMSecsSinceEpoch() + by.count();
    while (!timers_.empty() && timers_.begin()->first.first <= end)
        fire(timers_.begin());
    now_ = QDateTime::fromMSecsSinceEpoch(end, Qt::UTC);
}

void VirtualClock::setTime(const QDateTime& time) {
    const qint64 shift = now_.msecsTo(time);
    std::map<std::pair<qint64, TimerId>, Timer> shifted;
    for (auto& [key, timer] : timers_) {
        timer.due = timer.due.addMSecs(shift);
        shifted.emplace(std::make_pair(key.first + shift, key.second), std::move(timer));
        dueById_[key.second] = key.first + shift;
    }
    timers_ = std::move(shifted);
    now_ = time;
}

bool VirtualClock::advanceToNextTimer() {
    if (timers_.empty())
        return false;
    fire(timers_.begin());
    return true;
}

Clock::Duration VirtualClock::nextTimerIn() const {
    if (timers_.empty())
        return Duration::max();
    return Duration(timers_.begin()->first.first - now_.toMSecsSinceEpoch());
}

} // namespace async
