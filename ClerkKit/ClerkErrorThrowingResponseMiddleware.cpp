#include "ClerkErrorThrowingResponseMiddleware.h"

#include "ClerkErrorResponse.h"
#include "Json.h"
#include "UnexpectedStatusError.h"

void ClerkErrorThrowingResponseMiddleware::validate(const HttpResponse& response,
                                                    const ClerkRequest& request) {
    if (response.status < 400)
        return;
    std::optional<ClerkErrorResponse> body;
    try {
        body = json::decode<ClerkErrorResponse>(response.body);
    } catch (const json::DecodingError&) {
    }
    if (!body || body->errors.isEmpty())
        throw UnexpectedStatusError(response.status);
    ClerkAPIError error = body->errors.first();
    error.clerkTraceId = body->clerkTraceId;
    const QUrl url = response.url.isEmpty() ? request.http.url : response.url;
    logger_.error(QStringLiteral("Network request failed for endpoint: %1 (Status: %2): %3")
                      .arg(url.isEmpty() ? QStringLiteral("unknown") : url.toString(QUrl::RemoveQuery))
                      .arg(response.status)
                      .arg(error.localizedDescription()));
    throw error;
}
