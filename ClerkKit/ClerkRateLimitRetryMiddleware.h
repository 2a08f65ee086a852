#pragma once

#include "ClerkLogger.h"
#include "HttpMessage.h"
#include "Task.h"
#include "URLError.h"

#include <QDateTime>

#include <chrono>
#include <functional>

// Sends a request a second time, once, after a rate limit, a passing server failure or a passing
// network failure. Waits go through the clock; anything else, and any second failure, goes to the
// caller.
class ClerkRateLimitRetryMiddleware {
public:
    using Transport = std::function<async::Task<HttpResponse>(HttpRequest)>;
    using Duration = std::chrono::milliseconds;

    static constexpr Duration transportRetryDelay{500};
    static constexpr Duration fallbackDelay{500};
    static constexpr Duration minimumDelay{100};
    static constexpr Duration maximumDelay{5000};

    static async::Task<HttpResponse> send(HttpRequest request, Transport transport, ClerkLogger logger);

    static bool isRetryable(int status);
    static bool isRetryable(URLError::Code code);
    // From "Retry-After" (seconds or an HTTP date), else "X-RateLimit-Reset" (Unix time), else 0.5 s.
    static Duration rateLimitDelay(const HttpResponse& response, const QDateTime& now);
};
