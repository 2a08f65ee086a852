#pragma once

#include "APIClient.h"
#include "ClerkOptions.h"
#include "Task.h"

#include <QString>

#include <exception>
#include <optional>

class Clerk;

// The app's side of authentication: configuring the shared auth client once, the current session
// token for backend calls, and signing out. Everything runs on the main thread and nothing throws.
class AuthSession {
public:
    // Configures Clerk::shared() with the app's options and returns it. When that fails (a key
    // that does not decode, a second call) the process ends with tryConfigure's message.
    static Clerk& configure(const QString& publishableKey);
    // Configures `clerk` with the app's options: nothing when that worked, else the message to
    // stop with, which shows an invalid key only by its first 10 characters.
    static std::optional<QString> tryConfigure(Clerk& clerk, const QString& publishableKey);

    // The options configure() passes, for the given app id (empty when there is none).
    static ClerkOptions optionsFor(const QString& appId);

    // A token of the current session (default options: no template, 10-second expiration buffer,
    // cache allowed), or nothing when nobody is signed in or the lookup fails (logged).
    static async::Task<std::optional<QString>> currentToken();
    static async::Task<std::optional<QString>> currentToken(Clerk& clerk);

    // Signs out of every session; on failure logs and reloads the client from the server.
    static async::Task<void> signOut();
    static async::Task<void> signOut(Clerk& clerk);

    // The token provider every APIClient in the app is created with.
    static APIClient::TokenProvider tokenProvider();
    // An APIClient for the configured base URL with the app's token provider.
    static APIClient makeAPIClient();
};
