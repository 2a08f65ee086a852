#pragma once

#include "ServerRequest.h"
#include "ServerResponse.h"

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

    void add(const QByteArray& method, const QString& pattern, Handler handler);
    // The handler's answer, 405 when only the method differs, or nothing when no pattern matches.
    std::optional<ServerResponse> dispatch(ServerRequest request) const;

private:
    struct Route {
        QByteArray method;
        QRegularExpression pattern;
        Handler handler;
    };
    QList<Route> routes_;
};
