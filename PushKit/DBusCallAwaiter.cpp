#include "DBusCallAwaiter.h"

#include <QDBusError>
#include <QDBusPendingCallWatcher>

DBusCallAwaiter::DBusCallAwaiter(QDBusPendingCall call, async::Clock::Duration timeout)
    : call_(std::move(call)), timeout_(timeout), clock_(async::Clock::current()) {}

DBusCallAwaiter::~DBusCallAwaiter() {
    if (timer_)
        clock_.cancel(timer_);
    delete watcher_;
}

void DBusCallAwaiter::await_suspend(std::coroutine_handle<> handle) {
    wakeup_.arm(handle);
    // A call that could not be sent (no bus) is over already, and no watcher would report it.
    if (call_.isFinished()) {
        wakeup_.fire();
        return;
    }
    watcher_ = new QDBusPendingCallWatcher(call_);
    QObject::connect(watcher_, &QDBusPendingCallWatcher::finished, watcher_, [this] {
        if (timer_)
            clock_.cancel(std::exchange(timer_, 0));
        wakeup_.fire();
    });
    timer_ = clock_.schedule(timeout_, [this] {
        timer_ = 0;
        timedOut_ = true;
        QObject::disconnect(watcher_, nullptr, nullptr, nullptr);
        wakeup_.fire();
    });
}

QDBusMessage DBusCallAwaiter::await_resume() {
    if (timedOut_)
        return QDBusMessage::createError(QDBusError::Timeout, QStringLiteral("no answer in time"));
    return call_.reply();
}
