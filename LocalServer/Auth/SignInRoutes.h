#pragma once

#include "Auth/AuthStore.h"
#include "Http/ServerRequest.h"
#include "Http/ServerResponse.h"

#include <functional>
#include <optional>

struct ServerContext;

// The sign-in resource of the auth service: password and email-code first factors, a password
// reset by emailed code, phone-code and backup-code second factors, and browser OAuth through the
// local consent page.
class SignInRoutes {
public:
    explicit SignInRoutes(ServerContext& context) : context_(context), store_(context) {}

private:
    friend class Routes; // calls the handlers

    ServerResponse create(const ServerRequest& request);
    ServerResponse reload(const ServerRequest& request);
    ServerResponse prepareFirstFactor(const ServerRequest& request);
    ServerResponse attemptFirstFactor(const ServerRequest& request);
    ServerResponse prepareSecondFactor(const ServerRequest& request);
    ServerResponse attemptSecondFactor(const ServerRequest& request);
    ServerResponse resetPassword(const ServerRequest& request);

    // A step on a sign-in: changes it in place, or gives the error to answer with.
    using Step = std::function<std::optional<ServerResponse>(SignInAttempt&)>;
    // The one path of every step on an existing sign-in: finds the device's client and the sign-in
    // named in the path, refuses one that is not `awaited` (nothing: any status), runs `step`,
    // stores what it changed (a refused code counts too), and answers with the sign-in.
    ServerResponse update(const ServerRequest& request, std::optional<SignInAttempt::Status> awaited,
                          const Step& step);
    // Nothing when `password` is the account's, else the error to answer with; guesses are limited
    // per account, device and network address.
    std::optional<ServerResponse> checkPassword(const ServerRequest& request, const QString& clientId,
                                                const QVariantMap& user, const QString& password);
    // Moves a sign-in whose first factor is verified on to its second factor or to completion.
    void advance(SignInAttempt& attempt);
    // Points the sign-in at the provider's consent page (demo servers only).
    std::optional<ServerResponse> startOAuth(SignInAttempt& attempt, const QString& strategy,
                                             const QString& redirectUrl);
    std::optional<ServerResponse> checkBackupCode(const ServerRequest& request, const QVariantMap& user,
                                                  SignInAttempt& attempt, const QString& code);

    ServerContext& context_;
    AuthStore store_;
};
