#pragma once

#include "ClerkRequest.h"

// One step that looks at every Frontend API response, on the main thread; it may throw to fail
// the request.
class ClerkResponseMiddleware {
public:
    virtual ~ClerkResponseMiddleware() = default;
    virtual void validate(const HttpResponse& response, const ClerkRequest& request) = 0;
};
