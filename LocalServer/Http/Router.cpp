#include "Http/Router.h"

void Router::add(const QByteArray& method, const QString& pattern, Handler handler, Gate gate) {
    QString expression = QRegularExpression::escape(pattern);
    expression.replace(QRegularExpression(R"(\\\{[a-z_]+\\\*\\\})"), "(.+)");
    expression.replace(QRegularExpression(R"(\\\{[a-z_]+\\\})"), "([^/]+)");
    routes_.append({method, QRegularExpression("^" + expression + "$"), std::move(handler), std::move(gate)});
}

const Router::Route* Router::find(ServerRequest& request, bool* pathMatched) const {
    *pathMatched = false;
    for (const Route& route : routes_) {
        const QRegularExpressionMatch match = route.pattern.match(request.path);
        if (!match.hasMatch())
            continue;
        *pathMatched = true;
        // HEAD is answered as GET would be; the session leaves the body out.
        if (route.method != request.method && !(request.method == "HEAD" && route.method == "GET"))
            continue;
        request.pathParams.clear();
        for (int i = 1; i <= match.lastCapturedIndex(); ++i)
            request.pathParams.append(match.captured(i));
        return &route;
    }
    return nullptr;
}

std::optional<ServerResponse> Router::dispatch(ServerRequest request) const {
    bool pathMatched = false;
    const Route* route = find(request, &pathMatched);
    if (!route)
        return pathMatched ? std::optional(ServerResponse::empty(405)) : std::nullopt;
    if (route->gate) {
        if (auto refused = route->gate(request))
            return refused;
    }
    return route->handler(request);
}

std::optional<ServerResponse> Router::screen(ServerRequest head) const {
    bool pathMatched = false;
    const Route* route = find(head, &pathMatched);
    if (!route || !route->gate)
        return std::nullopt;
    return route->gate(head);
}
