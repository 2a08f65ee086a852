#include "TimerFdClock.h"

#include "NotifierLogging.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstring>

#include <sys/timerfd.h>
#include <time.h>
#include <unistd.h>

struct TimerFdClock::Timer {
    int fd = -1;
    itimerspec when{};
    std::unique_ptr<QSocketNotifier> notifier;
    std::function<void()> callback;

    ~Timer() {
        notifier.reset();
        if (fd >= 0)
            ::close(fd);
    }
    bool arm() const {
        return ::timerfd_settime(fd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &when, nullptr) == 0;
    }
};

TimerFdClock::TimerFdClock(std::chrono::seconds offset) : offset_(offset) {}

TimerFdClock::~TimerFdClock() = default;

std::chrono::seconds TimerFdClock::offsetFromEnvironment() {
    bool ok = false;
    const qint64 seconds = qEnvironmentVariable("ORBELO_NOTIFIER_CLOCK_OFFSET_SECONDS").toLongLong(&ok);
    return std::chrono::seconds(ok ? seconds : 0);
}

QDateTime TimerFdClock::now() const {
    return QDateTime::currentDateTimeUtc().addSecs(offset_.count());
}

async::Clock::TimerId TimerFdClock::schedule(Duration delay, std::function<void()> callback) {
    const TimerId id = nextId_++;
    auto timer = std::make_unique<Timer>();
    timer->callback = std::move(callback);
    timespec realNow{};
    ::clock_gettime(CLOCK_REALTIME, &realNow);
    const qint64 due =
        qint64(realNow.tv_sec) * 1000 + realNow.tv_nsec / 1000000 + std::max<qint64>(delay.count(), 1);
    timer->when.it_value.tv_sec = time_t(due / 1000);
    timer->when.it_value.tv_nsec = long(due % 1000) * 1000000;
    timer->fd = ::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (timer->fd < 0 || !timer->arm())
        qCCritical(lcNotifier, "cannot set a timer: %s", std::strerror(errno));
    else {
        timer->notifier = std::make_unique<QSocketNotifier>(timer->fd, QSocketNotifier::Read);
        QObject::connect(timer->notifier.get(), &QSocketNotifier::activated, timer->notifier.get(),
                         [this, id] { onReadable(id); });
    }
    timers_.emplace(id, std::move(timer));
    return id;
}

void TimerFdClock::cancel(TimerId id) {
    timers_.erase(id);
}

void TimerFdClock::onReadable(TimerId id) {
    const auto it = timers_.find(id);
    if (it == timers_.end())
        return;
    uint64_t expirations = 0;
    if (::read(it->second->fd, &expirations, sizeof expirations) < 0) {
        if (errno == ECANCELED) {
            // The wall clock was set: the instant still stands, whatever the clock now reads.
            qCInfo(lcNotifier, "the system clock was set");
            it->second->arm();
        }
        return;
    }
    // The notifier is the sender of this call: it must outlive it.
    std::unique_ptr<Timer> timer = std::move(it->second);
    timers_.erase(it);
    timer->notifier->setEnabled(false);
    timer->notifier.release()->deleteLater();
    timer->callback();
}
