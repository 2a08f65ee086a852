#pragma once

#include "Clock.h"

#include <QTimer>

#include <map>
#include <memory>

namespace async {

// Wall-clock time and Qt timers on the calling thread's event loop.
class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTimeUtc(); }
    TimerId schedule(Duration delay, std::function<void()> callback) override;
    void cancel(TimerId id) override;

private:
    std::map<TimerId, std::unique_ptr<QTimer>> timers_;
    TimerId nextId_ = 1;
};

} // namespace async
