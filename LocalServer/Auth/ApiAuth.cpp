#include "Auth/ApiAuth.h"

#include "Auth/AuthStore.h"
#include "Auth/TokenSigner.h"
#include "ServerContext.h"

namespace {

ServerResponse notAuthenticated() {
    return ServerResponse::apiError(401, "Not authenticated");
}

} // namespace

std::optional<QJsonObject> ApiAuth::bearerClaims(const ServerRequest& request) const {
    const QByteArray header = request.header("authorization");
    if (!header.startsWith("Bearer "))
        return std::nullopt;
    const TokenSigner::Result verified =
        context_.signer->verify(QString::fromLatin1(header.mid(7)), context_.nowSeconds());
    if (verified.failure != TokenSigner::Failure::None)
        return std::nullopt;
    return verified.claims;
}

QString ApiAuth::tokenUser(const ServerRequest& head) const {
    const auto claims = bearerClaims(head);
    return claims ? claims->value("sub").toString() : QString();
}

QString ApiAuth::authenticate(const ServerRequest& request) const {
    const auto claims = bearerClaims(request);
    if (!claims)
        return {};
    AuthStore store(context_);
    const QString userId = claims->value("sub").toString();
    const auto session = store.session(claims->value("sid").toString());
    if (!session || session->value("status").toString() != "active" ||
        session->value("user_id").toString() != userId || !store.user(userId))
        return {};
    return userId;
}

QString ApiAuth::sessionId(const ServerRequest& request) const {
    const TokenSigner::Result verified = context_.signer->verify(
        QString::fromLatin1(request.header("authorization").mid(7)), context_.nowSeconds());
    return verified.failure == TokenSigner::Failure::None ? verified.claims.value("sid").toString()
                                                          : QString();
}

void ApiAuth::add(Router& router, const QByteArray& method, const QString& pattern, Handler handler) const {
    router.add(
        method, pattern,
        [this, handler = std::move(handler)](const ServerRequest& request) {
            const QString userId = authenticate(request);
            if (userId.isEmpty())
                return notAuthenticated();
            return handler(request, userId);
        },
        [this](const ServerRequest& head) {
            return tokenUser(head).isEmpty() ? std::optional(notAuthenticated()) : std::nullopt;
        });
}
