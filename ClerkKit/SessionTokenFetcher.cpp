#include "SessionTokenFetcher.h"

#include "Clock.h"

namespace {

// The token as the token endpoint answers it: inside the client envelope, or bare.
TokenResource tokenOf(const QByteArray& body) {
    const QJsonValue answer = json::parse(body);
    const QJsonValue resource = answer.toObject().value(QStringLiteral("response"));
    return json::fromValue<TokenResource>(resource.isObject() ? resource : answer);
}

async::Task<TokenResource> fetch(ClerkAPIClient api, std::shared_ptr<SessionTokensCache> cache, QString key,
                                 QString path, QString organizationId) {
    const QJsonObject body{{QStringLiteral("organization_id"), organizationId}};
    const HttpResponse answer = co_await api.send("POST", path, body);
    TokenResource token = tokenOf(answer.body);
    cache->insert(key, token);
    co_return token;
}

async::Task<TokenResource> awaitShared(async::SharedTask<TokenResource> shared) {
    co_return co_await shared.wait();
}

async::Task<TokenResource> ready(TokenResource token) {
    co_return token;
}

} // namespace

SessionTokenFetcher::SessionTokenFetcher(ClerkAPIClient api, std::shared_ptr<SessionTokensCache> cache,
                                         ClerkLogger logger)
    : api_(std::move(api)), cache_(std::move(cache)), logger_(std::move(logger)) {}

QString SessionTokenFetcher::cacheKey(const QString& sessionId, const std::optional<QString>& templateName) {
    return templateName ? sessionId + QLatin1Char('-') + *templateName : sessionId;
}

bool SessionTokenFetcher::isFresh(const TokenResource& token, double buffer, const QDateTime& now,
                                  const ClerkLogger& logger) {
    std::optional<QDateTime> expiry;
    try {
        expiry = token.decodedJWT().expiresAt();
    } catch (const DecodedJWT::DecodeError&) {
        logger.error(QStringLiteral("Failed to decode JWT"));
        return false;
    }
    return expiry && now.msecsTo(*expiry) > qint64(buffer * 1000);
}

async::Task<TokenResource> SessionTokenFetcher::getToken(const Session& session,
                                                         const Session::GetTokenOptions& options) {
    const QString key = cacheKey(session.id, options.template_);
    if (const auto it = tokenTasks_.constFind(key); it != tokenTasks_.cend())
        return awaitShared(*it);
    if (!options.skipCache) {
        const auto cached = cache_->token(key);
        if (cached && isFresh(*cached, options.expirationBuffer, async::Clock::current().now(), logger_))
            return ready(*cached);
    }
    QString path = QStringLiteral("/v1/client/sessions/%1/tokens").arg(session.id);
    if (options.template_)
        path += QLatin1Char('/') + *options.template_;
    auto shared = async::SharedTask<TokenResource>::start(
        scope_, fetch(api_, cache_, key, path, session.lastActiveOrganizationId.value_or(QString())),
        [this, key] { tokenTasks_.remove(key); });
    if (!shared.isDone())
        tokenTasks_.insert(key, shared);
    return awaitShared(shared);
}

void SessionTokenFetcher::cancelAll() {
    scope_.cancelAll();
}
