#include "ClerkInvalidAuthResponseMiddleware.h"

#include "Clerk.h"
#include "ClerkClientSyncResponseMiddleware.h"
#include "ClerkErrorResponse.h"
#include "Json.h"

void ClerkInvalidAuthResponseMiddleware::validate(const HttpResponse& response, const ClerkRequest& request) {
    if (!clerk_ || response.status < 400 || ClerkClientSyncResponseMiddleware::isClientFetch(request))
        return;
    ClerkErrorResponse body;
    try {
        body = json::decode<ClerkErrorResponse>(response.body);
    } catch (const json::DecodingError&) {
        return;
    }
    for (const ClerkAPIError& error : body.errors) {
        if (error.code == QLatin1String("authentication_invalid") ||
            error.code == QLatin1String("resource_not_found")) {
            clerk_->refreshClientAfterInvalidAuthentication();
            return;
        }
    }
}
