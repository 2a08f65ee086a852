#pragma once

#include "ClerkLogger.h"
#include "ClerkResponseMiddleware.h"

// Fails requests answered with a status of 400 or more: with the answer's first ClerkAPIError, or
// with UnexpectedStatusError when the body names none.
class ClerkErrorThrowingResponseMiddleware final : public ClerkResponseMiddleware {
public:
    explicit ClerkErrorThrowingResponseMiddleware(ClerkLogger logger) : logger_(std::move(logger)) {}

    void validate(const HttpResponse& response, const ClerkRequest& request) override;

private:
    ClerkLogger logger_;
};
