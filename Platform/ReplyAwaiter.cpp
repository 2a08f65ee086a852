#include "ReplyAwaiter.h"

#include "NetworkAccess.h"
#include "URLError.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>

ReplyAwaiter::ReplyAwaiter(const HttpRequest& request) : request_(request), clock_(async::Clock::current()) {}

ReplyAwaiter::~ReplyAwaiter() {
    stopTimers();
    for (const auto& c : connections_)
        QObject::disconnect(c);
    if (reply_) {
        if (!reply_->isFinished())
            reply_->abort();
        reply_->deleteLater();
    }
}

void ReplyAwaiter::await_suspend(std::coroutine_handle<> handle) {
    wakeup_.arm(handle);

    QNetworkRequest qreq(request_.url);
    qreq.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    qreq.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    for (const auto& [name, value] : request_.headers)
        qreq.setRawHeader(name, value);

    auto& manager = NetworkAccess::manager();
    if (request_.bodyDevice)
        reply_ = manager.sendCustomRequest(qreq, request_.method, request_.bodyDevice.get());
    else if (request_.body)
        reply_ = manager.sendCustomRequest(qreq, request_.method, *request_.body);
    else
        reply_ = manager.sendCustomRequest(qreq, request_.method);

    // An aborted reply still reads its body device from events already queued: the device stays
    // until the reply is deleted.
    if (request_.bodyDevice)
        QObject::connect(reply_, &QObject::destroyed, [device = request_.bodyDevice] {});

    connections_ << QObject::connect(reply_, &QNetworkReply::finished, reply_, [this] {
        stopTimers();
        wakeup_.fire();
    });
    connections_ << QObject::connect(reply_, &QNetworkReply::uploadProgress, reply_,
                                     [this](qint64 sent, qint64 total) {
                                         restartIdleTimer();
                                         if (request_.onUploadProgress && total > 0)
                                             request_.onUploadProgress(sent, total);
                                     });
    connections_ << QObject::connect(reply_, &QNetworkReply::downloadProgress, reply_,
                                     [this] { restartIdleTimer(); });
    restartIdleTimer();
    resourceTimer_ = clock_.schedule(request_.resourceTimeout, [this] {
        resourceTimer_ = 0;
        onTimeout();
    });
}

void ReplyAwaiter::restartIdleTimer() {
    if (idleTimer_)
        clock_.cancel(idleTimer_);
    idleTimer_ = clock_.schedule(request_.timeout, [this] {
        idleTimer_ = 0;
        onTimeout();
    });
}

void ReplyAwaiter::stopTimers() {
    if (idleTimer_)
        clock_.cancel(std::exchange(idleTimer_, 0));
    if (resourceTimer_)
        clock_.cancel(std::exchange(resourceTimer_, 0));
}

void ReplyAwaiter::onTimeout() {
    timedOut_ = true;
    if (reply_ && !reply_->isFinished())
        reply_->abort(); // emits finished, which wakes the task
}

HttpResponse ReplyAwaiter::await_resume() {
    if (timedOut_)
        throw URLError(URLError::Code::timedOut);
    const QVariant status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid())
        throw URLError::fromReply(reply_->error(), reply_->errorString());

    HttpResponse response;
    response.status = status.toInt();
    response.url = reply_->url();
    for (const auto& pair : reply_->rawHeaderPairs())
        response.headers.append(pair);
    response.body = reply_->readAll();
    return response;
}
