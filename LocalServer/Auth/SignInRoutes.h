#pragma once

#include "AuthStore.h"
#include "Router.h"

#include <optional>

struct ServerContext;

// The sign-in resource of the auth service: password and email-code first factors, a password
// reset by emailed code, phone-code and backup-code second factors, and browser OAuth through the
// local consent page.
class SignInRoutes {
public:
    explicit SignInRoutes(ServerContext& context) : context_(context), store_(context) {}

    void registerRoutes(Router& router);

private:
    ServerResponse create(const ServerRequest& request);
    ServerResponse reload(const ServerRequest& request);
    ServerResponse prepareFirstFactor(const ServerRequest& request);
    ServerResponse attemptFirstFactor(const ServerRequest& request);
    ServerResponse prepareSecondFactor(const ServerRequest& request);
    ServerResponse attemptSecondFactor(const ServerRequest& request);
    ServerResponse resetPassword(const ServerRequest& request);

    // Finds the device's client and the sign-in named in the path, or the error to answer with.
    std::optional<ServerResponse> load(const ServerRequest& request, QString* clientId,
                                       std::optional<QJsonObject>* state);
    // Nothing when `password` is the account's, else the error to answer with; guesses are limited
    // per account, device and network address.
    std::optional<ServerResponse> checkPassword(const ServerRequest& request, const QString& clientId,
                                                const QVariantMap& user, const QString& password);
    // Moves a sign-in whose first factor is verified on to its second factor or to completion.
    void advance(const QString& clientId, QJsonObject& state);
    ServerResponse startOAuth(const QString& signInId, const QString& clientId, const QString& strategy,
                              const QString& redirectUrl, QJsonObject& state,
                              const QByteArray& newDeviceToken);

    ServerContext& context_;
    AuthStore store_;
};
