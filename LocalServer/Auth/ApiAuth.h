#pragma once

#include "Http/Router.h"
#include "Http/ServerRequest.h"
#include "Http/ServerResponse.h"

#include <QJsonObject>
#include <QString>
#include <functional>
#include <optional>

struct ServerContext;

// Bearer authentication of the Orbelo API: a session token signed by this server, unexpired,
// whose session is still active and whose user still exists.
class ApiAuth {
public:
    using Handler = std::function<ServerResponse(const ServerRequest&, const QString& userId)>;

    explicit ApiAuth(ServerContext& context) : context_(context) {}

    // The user the request's bearer token names, or an empty string.
    QString authenticate(const ServerRequest& request) const;
    // The user named by a bearer token that this server signed and that has not expired, or an
    // empty string; unlike authenticate() it does not ask whether the session is still active,
    // so it may judge a request's head on an I/O thread.
    QString tokenUser(const ServerRequest& head) const;
    // The session of a request that authenticate() accepted.
    QString sessionId(const ServerRequest& request) const;
    // Registers a route whose handler runs only for an authenticated user; others get 401, from the
    // head when the token is not even validly signed.
    void add(Router& router, const QByteArray& method, const QString& pattern, Handler handler) const;

private:
    // The claims of the request's bearer token when this server signed it and it has not expired.
    std::optional<QJsonObject> bearerClaims(const ServerRequest& request) const;

    ServerContext& context_;
};
