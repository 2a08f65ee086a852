#pragma once

#include "AuthStore.h"
#include "Router.h"

#include <optional>

struct ServerContext;

// The sign-up resource: email and password with an emailed code, and the transfer sign-up that
// creates the account of an OAuth sign-in whose external account had no user.
class SignUpRoutes {
public:
    explicit SignUpRoutes(ServerContext& context) : context_(context), store_(context) {}

    void registerRoutes(Router& router);

private:
    HttpResponse create(const HttpRequest& request);
    HttpResponse update(const HttpRequest& request);
    HttpResponse prepareVerification(const HttpRequest& request);
    HttpResponse attemptVerification(const HttpRequest& request);

    std::optional<HttpResponse> load(const HttpRequest& request, QString* clientId,
                                     std::optional<QJsonObject>* state);
    // Applies the form's email, password and names to the state; the error to answer with if invalid.
    std::optional<HttpResponse> applyFields(const QUrlQuery& form, QJsonObject& state);
    // Creates the user and the session once nothing is missing and the address is verified.
    void completeIfReady(const QString& clientId, QJsonObject& state);
    HttpResponse transfer(const QString& clientId, const QByteArray& newDeviceToken);

    ServerContext& context_;
    AuthStore store_;
};
