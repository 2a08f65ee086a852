#include "ClerkRateLimitRetryMiddleware.h"

#include "Clock.h"
#include "HTTPDate.h"

#include <cmath>

namespace {

using Duration = ClerkRateLimitRetryMiddleware::Duration;

Duration clamp(double seconds) {
    if (seconds <= 0.1)
        return ClerkRateLimitRetryMiddleware::minimumDelay;
    return Duration(qint64(std::llround(std::min(seconds, 5.0) * 1000)));
}

std::optional<double> decimal(const std::optional<QByteArray>& text) {
    if (!text)
        return std::nullopt;
    bool ok = false;
    const double value = text->trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

void logRetry(const ClerkLogger& logger, const QUrl& url, const QString& reason, Duration delay) {
    logger.debug(
        QStringLiteral("Retrying request: %1 after %2. Backing off for %3ms")
            .arg(url.isEmpty() ? QStringLiteral("<unknown url>") : url.toString(QUrl::RemoveQuery), reason)
            .arg(delay.count()));
}

} // namespace

bool ClerkRateLimitRetryMiddleware::isRetryable(int status) {
    switch (status) {
    case 408:
    case 425:
    case 429:
    case 500:
    case 502:
    case 503:
    case 504:
        return true;
    default:
        return false;
    }
}

bool ClerkRateLimitRetryMiddleware::isRetryable(URLError::Code code) {
    switch (code) {
    case URLError::Code::timedOut:
    case URLError::Code::cannotFindHost: // also a failed DNS lookup
    case URLError::Code::cannotConnectToHost:
    case URLError::Code::networkConnectionLost:
    case URLError::Code::notConnectedToInternet:
        return true;
    default:
        return false;
    }
}

Duration ClerkRateLimitRetryMiddleware::rateLimitDelay(const HttpResponse& response, const QDateTime& now) {
    const auto retryAfter = response.header("Retry-After");
    if (const auto seconds = decimal(retryAfter))
        return clamp(*seconds);
    if (retryAfter) {
        if (const auto date = HTTPDate::parse(*retryAfter)) {
            const double seconds = now.msecsTo(*date) / 1000.0;
            if (seconds > 0)
                return clamp(seconds);
        }
    }
    if (const auto reset = decimal(response.header("X-RateLimit-Reset"))) {
        const double seconds = *reset - now.toMSecsSinceEpoch() / 1000.0;
        if (seconds > 0)
            return clamp(seconds);
    }
    return fallbackDelay;
}

async::Task<HttpResponse> ClerkRateLimitRetryMiddleware::send(HttpRequest request, Transport transport,
                                                              ClerkLogger logger) {
    Duration delay{0};
    QString reason;
    try {
        HttpResponse response = co_await transport(request);
        if (!isRetryable(response.status))
            co_return response;
        delay = rateLimitDelay(response, async::Clock::current().now());
        reason = QStringLiteral("status %1").arg(response.status);
    } catch (const URLError& error) {
        if (!isRetryable(error.code()))
            throw;
        delay = transportRetryDelay;
        reason = error.localizedDescription();
    }
    logRetry(logger, request.url, reason, delay);
    co_await async::Clock::current().sleep(delay);
    co_return co_await transport(request);
}
