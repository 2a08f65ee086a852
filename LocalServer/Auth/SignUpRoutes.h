#pragma once

#include "Auth/AuthStore.h"
#include "Http/ServerRequest.h"
#include "Http/ServerResponse.h"

#include <optional>

struct ServerContext;

// The sign-up resource: email and password with an emailed code, the fields the server was told
// to require, and the transfer sign-up that creates the account of an OAuth sign-in whose external
// account had no user.
class SignUpRoutes {
public:
    explicit SignUpRoutes(ServerContext& context) : context_(context), store_(context) {}

private:
    friend class Routes; // calls the handlers

    ServerResponse create(const ServerRequest& request);
    ServerResponse update(const ServerRequest& request);
    ServerResponse reload(const ServerRequest& request);
    ServerResponse prepareVerification(const ServerRequest& request);
    ServerResponse attemptVerification(const ServerRequest& request);

    std::optional<ServerResponse> load(const ServerRequest& request, QString* clientId,
                                       std::optional<QJsonObject>* state);
    // Applies the form's email, password, names and legal acceptance to the state; the error to
    // answer with if one is invalid.
    std::optional<ServerResponse> applyFields(const QUrlQuery& form, QJsonObject& state);
    // Creates the user and the session once no required field is missing and the address is verified.
    void completeIfReady(const QString& clientId, QJsonObject& state);
    // Saves the attempt, completing it first (completeIfReady) in the same transaction.
    void saveCompleting(const QString& id, const QString& clientId, QJsonObject& state);
    // The sign-up of an OAuth sign-in whose external account has no user yet.
    ServerResponse transfer(const QString& clientId, const QUrlQuery& form, const QByteArray& newDeviceToken);

    ServerContext& context_;
    AuthStore store_;
};
