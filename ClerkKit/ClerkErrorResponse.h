#pragma once

#include "ClerkAPIError.h"

#include <QList>

// The body of a failed Frontend API call.
struct ClerkErrorResponse {
    QList<ClerkAPIError> errors;
    std::optional<QString> clerkTraceId;
    JSON_RECORD(ClerkErrorResponse, errors, clerkTraceId)
};
