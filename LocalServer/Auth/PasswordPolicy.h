#pragma once

#include "Http/ServerResponse.h"

#include <QString>
#include <optional>

// What a new password must satisfy, at sign-up and at a password reset alike.
namespace PasswordPolicy {
constexpr int minimumLength = 8;

// Nothing when `password` is acceptable, else the error to answer with.
std::optional<ServerResponse> check(const QString& password);
} // namespace PasswordPolicy
