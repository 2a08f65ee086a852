#include "BrowserAuthenticationSession.h"

#include "Logging.h"
#include "Wakeup.h"

#include <QDesktopServices>

#include <optional>

// One sign-in's wait. `ended` is set once a result is in or the waiting task has gone, so that
// nothing completes it twice.
struct BrowserAuthenticationSession::Pending {
    QString scheme;
    std::optional<QUrl> callback;
    std::exception_ptr error;
    bool ended = false;
    async::Wakeup* waiter = nullptr;

    void finish() {
        ended = true;
        if (waiter)
            std::exchange(waiter, nullptr)->fire();
    }
};

// Suspends the sign-in until complete() or a newer start() finishes its wait. Its destruction,
// also by cancellation, ends the wait for good.
class BrowserAuthenticationSession::Awaiter {
public:
    explicit Awaiter(std::shared_ptr<Pending> pending) : pending_(std::move(pending)) {}
    Awaiter(const Awaiter&) = delete;
    Awaiter& operator=(const Awaiter&) = delete;
    ~Awaiter() {
        pending_->waiter = nullptr;
        pending_->ended = true;
    }

    bool await_ready() const noexcept { return pending_->ended; }
    void await_suspend(std::coroutine_handle<> handle) {
        wakeup_.arm(handle);
        pending_->waiter = &wakeup_;
    }
    QUrl await_resume() const {
        if (pending_->error)
            std::rethrow_exception(pending_->error);
        return *pending_->callback;
    }

private:
    std::shared_ptr<Pending> pending_;
    async::Wakeup wakeup_;
};

BrowserAuthenticationSession::BrowserAuthenticationSession(Opener open)
    : open_(open ? std::move(open) : Opener([](const QUrl& url) { return QDesktopServices::openUrl(url); })) {
}

BrowserAuthenticationSession::~BrowserAuthenticationSession() {
    if (pending_ && !pending_->ended) {
        pending_->error =
            std::make_exception_ptr(WebAuthenticationError(WebAuthenticationError::Code::canceledLogin));
        pending_->finish();
    }
}

BrowserAuthenticationSession& BrowserAuthenticationSession::shared() {
    static BrowserAuthenticationSession session;
    return session;
}

async::Task<QUrl> BrowserAuthenticationSession::start(QUrl url, QString callbackScheme) {
    if (pending_ && !pending_->ended) {
        pending_->error =
            std::make_exception_ptr(WebAuthenticationError(WebAuthenticationError::Code::canceledLogin));
        pending_->finish();
    }
    pending_ = std::make_shared<Pending>();
    pending_->scheme = std::move(callbackScheme);
    return run(open_, pending_, std::move(url));
}

async::Task<QUrl> BrowserAuthenticationSession::run(Opener open, std::shared_ptr<Pending> pending, QUrl url) {
    Awaiter wait(pending);
    if (!open(url))
        throw WebAuthenticationError(WebAuthenticationError::Code::cannotOpenBrowser);
    co_return co_await wait;
}

void BrowserAuthenticationSession::complete(const QUrl& callback) {
    const bool empty = callback.isEmpty() || !callback.isValid();
    if (pending_ && !empty && callback.scheme().compare(pending_->scheme, Qt::CaseInsensitive) != 0) {
        qCInfo(lcAuth, "not a sign-in callback: %s", qUtf8Printable(callback.scheme()));
        return;
    }
    if (!pending_ || pending_->ended) {
        qCWarning(lcAuth, "Continuation already completed. Ignoring.");
        return;
    }
    if (empty)
        pending_->error =
            std::make_exception_ptr(WebAuthenticationError(WebAuthenticationError::Code::missingCallbackURL));
    else
        pending_->callback = callback;
    pending_->finish();
}

bool BrowserAuthenticationSession::isWaiting() const {
    return pending_ && !pending_->ended;
}
