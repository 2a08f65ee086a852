#pragma once

#include "AuthStore.h"
#include "Router.h"

#include <optional>

struct ServerContext;

// The sign-in resource of the auth service: password and email-code first factors, phone-code
// and backup-code second factors, and browser OAuth through the local consent page.
class SignInRoutes {
public:
    explicit SignInRoutes(ServerContext& context) : context_(context), store_(context) {}

    void registerRoutes(Router& router);

private:
    HttpResponse create(const HttpRequest& request);
    HttpResponse reload(const HttpRequest& request);
    HttpResponse prepareFirstFactor(const HttpRequest& request);
    HttpResponse attemptFirstFactor(const HttpRequest& request);
    HttpResponse prepareSecondFactor(const HttpRequest& request);
    HttpResponse attemptSecondFactor(const HttpRequest& request);

    // Finds the device's client and the sign-in named in the path, or the error to answer with.
    std::optional<HttpResponse> load(const HttpRequest& request, QString* clientId,
                                     std::optional<QJsonObject>* state);
    // Moves a sign-in whose first factor is verified on to its second factor or to completion.
    void advance(const QString& clientId, QJsonObject& state);
    HttpResponse startOAuth(const QString& signInId, const QString& clientId, const QString& strategy,
                            const QString& redirectUrl, QJsonObject& state, const QByteArray& newDeviceToken);

    ServerContext& context_;
    AuthStore store_;
};
