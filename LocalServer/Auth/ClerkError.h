#pragma once

#include "Http/ServerResponse.h"

#include <QString>

// The auth service's error envelope:
// {"errors":[{"code","message","long_message","meta":{"param_name"}}],"clerk_trace_id"}.
namespace ClerkError {
ServerResponse response(int status, const QString& code, const QString& message, const QString& longMessage,
                        const QString& paramName = {});
ServerResponse authenticationInvalid(const QString& longMessage);
ServerResponse notFound(const QString& longMessage);
ServerResponse missingParam(const QString& paramName);
// 429 with a Retry-After header of `retryAfterSeconds`; `reason` opens the long message.
ServerResponse tooManyRequests(qint64 retryAfterSeconds,
                               const QString& reason = QStringLiteral("Too many requests."),
                               const QString& paramName = {});
} // namespace ClerkError
