#pragma once

#include "ClerkLogger.h"
#include "ClerkResponseMiddleware.h"

// Logs each response's status with the request's method and path.
class ClerkResponseLoggingMiddleware final : public ClerkResponseMiddleware {
public:
    explicit ClerkResponseLoggingMiddleware(ClerkLogger logger) : logger_(std::move(logger)) {}

    void validate(const HttpResponse& response, const ClerkRequest& request) override {
        logger_.debug(QStringLiteral("Response: %1 for %2 %3")
                          .arg(response.status)
                          .arg(QString::fromLatin1(request.http.method),
                               request.http.url.toString(QUrl::RemoveQuery | QUrl::RemoveUserInfo)));
    }

private:
    ClerkLogger logger_;
};
