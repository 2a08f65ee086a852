#include "ClerkAuthEventEmitterResponseMiddleware.h"

#include "Clerk.h"

#include <QJsonDocument>
#include <QJsonObject>

std::optional<AuthEvent> ClerkAuthEventEmitterResponseMiddleware::eventFor(const HttpResponse& response,
                                                                           const ClerkRequest& request) {
    if (response.status < 200 || response.status >= 300)
        return std::nullopt;
    const QString path = request.http.url.path();
    const QByteArray& method = request.http.method;
    const QJsonObject body = QJsonDocument::fromJson(response.body).object();
    const QJsonObject resource = body.value(QStringLiteral("response")).toObject();
    const QString object = resource.value(QStringLiteral("object")).toString();
    const bool complete = resource.value(QStringLiteral("status")).toString() == QLatin1String("complete");

    if (object == QLatin1String("sign_in_attempt") || (method != "GET" && path.contains(u"/sign_ins")))
        return complete ? AuthEvent::signInCompleted : AuthEvent::signInNeedsContinuation;
    if (object == QLatin1String("sign_up_attempt") || (method != "GET" && path.contains(u"/sign_ups")))
        return complete ? AuthEvent::signUpCompleted : AuthEvent::signUpNeedsContinuation;
    if (object == QLatin1String("token") ||
        body.value(QStringLiteral("object")).toString() == QLatin1String("token"))
        return AuthEvent::tokenRefreshed;
    if ((method == "DELETE" && path.endsWith(u"/v1/client/sessions")) ||
        (method == "POST" && path.endsWith(u"/remove")) ||
        (method == "DELETE" && path.endsWith(u"/v1/client")))
        return AuthEvent::signedOut;
    if (method == "POST" && path.endsWith(u"/touch"))
        return AuthEvent::sessionChanged;
    if (method == "DELETE" && path.endsWith(u"/v1/me"))
        return AuthEvent::accountDeleted;
    return std::nullopt;
}

void ClerkAuthEventEmitterResponseMiddleware::validate(const HttpResponse& response,
                                                       const ClerkRequest& request) {
    if (!clerk_)
        return;
    if (const auto event = eventFor(response, request))
        Q_EMIT clerk_->authEventReceived(*event);
}
