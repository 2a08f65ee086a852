#include "Auth/PasswordPolicy.h"

#include "Auth/ClerkError.h"

namespace PasswordPolicy {

std::optional<ServerResponse> check(const QString& password) {
    if (password.size() < minimumLength)
        return ClerkError::response(422, "form_password_length_too_short",
                                    "Passwords must be 8 characters or more.",
                                    "Passwords must be 8 characters or more.", "password");
    return std::nullopt;
}

} // namespace PasswordPolicy
