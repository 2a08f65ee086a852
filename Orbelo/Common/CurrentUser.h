#pragma once

#include "User.h"

#include <QObject>

#include <functional>
#include <optional>

// The shared auth client's signed-in user, for models that show who is signed in.
class CurrentUser {
public:
    // Calls `apply` with the user now and again whenever the auth client's client changes, for as
    // long as `context` lives.
    static void follow(QObject* context, std::function<void(const std::optional<User>&)> apply);
    // The signed-in user's id now, when someone is signed in.
    static std::optional<QString> id();
};
