#pragma once

#include "HttpResponse.h"

#include <QString>

// The auth service's error envelope:
// {"errors":[{"code","message","long_message","meta":{"param_name"}}],"clerk_trace_id"}.
namespace ClerkError {
HttpResponse response(int status, const QString& code, const QString& message, const QString& longMessage,
                      const QString& paramName = {});
HttpResponse authenticationInvalid(const QString& longMessage);
HttpResponse notFound(const QString& longMessage);
HttpResponse missingParam(const QString& paramName);
} // namespace ClerkError
