#pragma once

#include "Http/ServerRequest.h"
#include "Http/ServerResponse.h"

#include <QList>
#include <QRegularExpression>
#include <functional>
#include <optional>

// Maps a method and a path pattern such as "/v1/client/sign_ins/{id}" to a handler. Placeholders
// match one path segment ("{path*}" matches the rest of the path) and arrive in
// ServerRequest::pathParams in order. A HEAD request runs the path's GET handler.
class Router {
public:
    using Handler = std::function<ServerResponse(const ServerRequest&)>;
    // Judges a request by its head alone (method, path, query, headers; no body): the refusal, or
    // nothing when it may go ahead. It runs on the HTTP engine's I/O threads before any of the body
    // is read, so it must be quick and stay off the database.
    using Gate = std::function<std::optional<ServerResponse>(const ServerRequest& head)>;

    // A route with a gate runs its handler only for requests the gate lets through.
    void add(const QByteArray& method, const QString& pattern, Handler handler, Gate gate = {});
    // The handler's answer, 405 when only the method differs, or nothing when no pattern matches.
    std::optional<ServerResponse> dispatch(ServerRequest request) const;
    // The refusal of the gate of the route that would answer `head`; nothing when it has none, or
    // no route matches (the answer for that comes with dispatch()).
    std::optional<ServerResponse> screen(ServerRequest head) const;

private:
    struct Route {
        QByteArray method;
        QRegularExpression pattern;
        Handler handler;
        Gate gate;
    };
    // The route for the request with its path parameters filled in; `pathMatched` tells whether
    // some route has the path under another method.
    const Route* find(ServerRequest& request, bool* pathMatched) const;

    QList<Route> routes_;
};
