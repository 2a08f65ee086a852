#include "Router.h"

void Router::add(const QByteArray& method, const QString& pattern, Handler handler) {
    QString expression = QRegularExpression::escape(pattern);
    expression.replace(QRegularExpression(R"(\\\{[a-z_]+\\\*\\\})"), "(.+)");
    expression.replace(QRegularExpression(R"(\\\{[a-z_]+\\\})"), "([^/]+)");
    routes_.append({method, QRegularExpression("^" + expression + "$"), std::move(handler)});
}

std::optional<ServerResponse> Router::dispatch(ServerRequest request) const {
    bool pathMatched = false;
    for (const Route& route : routes_) {
        const QRegularExpressionMatch match = route.pattern.match(request.path);
        if (!match.hasMatch())
            continue;
        pathMatched = true;
        // HEAD is answered as GET would be; the session leaves the body out.
        if (route.method != request.method && !(request.method == "HEAD" && route.method == "GET"))
            continue;
        request.pathParams.clear();
        for (int i = 1; i <= match.lastCapturedIndex(); ++i)
            request.pathParams.append(match.captured(i));
        return route.handler(request);
    }
    if (pathMatched)
        return ServerResponse::empty(405);
    return std::nullopt;
}
