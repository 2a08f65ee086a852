#pragma once

#include "Clock.h"
#include "HttpMessage.h"
#include "Wakeup.h"

#include <QPointer>

class QNetworkReply;

// One request/response exchange, awaited: the request starts when the coroutine suspends, the
// timeouts run on Clock::current(), and destroying the awaiter aborts an exchange still in flight.
// Redirects are not followed here (see HttpTransfer).
class ReplyAwaiter {
public:
    explicit ReplyAwaiter(const HttpRequest& request);
    ReplyAwaiter(const ReplyAwaiter&) = delete;
    ReplyAwaiter& operator=(const ReplyAwaiter&) = delete;
    ~ReplyAwaiter();

    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> handle);
    // The response, or URLError when no HTTP status arrived.
    HttpResponse await_resume();

private:
    void restartIdleTimer();
    void stopTimers();
    void onTimeout();

    const HttpRequest& request_;
    async::Clock& clock_;
    QPointer<QNetworkReply> reply_;
    QList<QMetaObject::Connection> connections_;
    async::Clock::TimerId idleTimer_ = 0;
    async::Clock::TimerId resourceTimer_ = 0;
    bool timedOut_ = false;
    async::Wakeup wakeup_;
};
