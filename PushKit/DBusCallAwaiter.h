#pragma once

#include "Clock.h"
#include "Wakeup.h"

#include <QDBusMessage>
#include <QDBusPendingCall>

class QDBusPendingCallWatcher;

// A D-Bus call already sent, awaited without blocking the thread. The reply (or error) resumes the
// task from the event loop; a wait longer than `timeout` on Clock::current() ends it with a timeout
// error. Destroying the awaiter drops the reply when it comes.
class DBusCallAwaiter {
public:
    static constexpr std::chrono::seconds defaultTimeout{25};

    explicit DBusCallAwaiter(QDBusPendingCall call, async::Clock::Duration timeout = defaultTimeout);
    DBusCallAwaiter(const DBusCallAwaiter&) = delete;
    DBusCallAwaiter& operator=(const DBusCallAwaiter&) = delete;
    ~DBusCallAwaiter();

    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> handle);
    // The reply; an error reply comes back as a message of type ErrorMessage.
    QDBusMessage await_resume();

private:
    QDBusPendingCall call_;
    async::Clock::Duration timeout_;
    async::Clock& clock_;
    QDBusPendingCallWatcher* watcher_ = nullptr;
    async::Clock::TimerId timer_ = 0;
    bool timedOut_ = false;
    async::Wakeup wakeup_;
};
