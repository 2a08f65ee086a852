#pragma once

#include "ClerkLogger.h"
#include "ClerkRequestMiddleware.h"

// Logs each request's method and path (never its query, headers or body: they may hold secrets).
class ClerkRequestLoggingMiddleware final : public ClerkRequestMiddleware {
public:
    explicit ClerkRequestLoggingMiddleware(ClerkLogger logger) : logger_(std::move(logger)) {}

    async::Task<void> prepare(ClerkRequest& request) override {
        logger_.debug(QStringLiteral("Request: %1 %2")
                          .arg(QString::fromLatin1(request.http.method),
                               request.http.url.toString(QUrl::RemoveQuery | QUrl::RemoveUserInfo)));
        co_return;
    }

private:
    ClerkLogger logger_;
};
