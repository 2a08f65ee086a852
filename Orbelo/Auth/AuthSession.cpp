#include "Auth/AuthSession.h"

#include "APIConfiguration.h"
#include "AppInfo.h"
#include "Clerk.h"
#include "ClerkAPIError.h"
#include "ClerkInitializationError.h"
#include "Common/FailureMessage.h"
#include "Logging.h"
#include "URLError.h"

namespace {

async::Task<std::optional<QString>> providedToken() {
    co_return co_await AuthSession::currentToken();
}

} // namespace

ClerkOptions AuthSession::optionsFor(const QString& appId) {
    ClerkOptions options;
    options.secretStoreConfig.service = appId;
    options.redirectConfig.redirectUrl = appId + QStringLiteral("://callback");
    options.redirectConfig.callbackUrlScheme = appId;
    return options;
}

Clerk& AuthSession::configure(const QString& publishableKey) {
    Clerk& clerk = Clerk::shared();
    if (const auto failure = tryConfigure(clerk, publishableKey))
        qFatal("%s", qUtf8Printable(*failure));
    return clerk;
}

std::optional<QString> AuthSession::tryConfigure(Clerk& clerk, const QString& publishableKey) {
    try {
        clerk.configure(publishableKey, optionsFor(AppInfo::appId()));
        return std::nullopt;
    } catch (const ClerkInitializationError& e) {
        return e.message();
    }
}

async::Task<std::optional<QString>> AuthSession::currentToken() {
    return currentToken(Clerk::shared());
}

async::Task<std::optional<QString>> AuthSession::currentToken(Clerk& clerk) {
    const std::optional<Session> session = clerk.session();
    if (!session)
        co_return std::nullopt;
    std::exception_ptr failure;
    try {
        const TokenResource token = co_await session->getToken(Session::GetTokenOptions{}, clerk);
        co_return token.jwt;
    } catch (...) {
        failure = std::current_exception();
    }
    // The session may have changed while the lookup ran: report the state as it is now.
    const std::optional<Session> now = clerk.session();
    QString userId = QStringLiteral("none");
    if (now && now->user)
        userId = now->user->id;
    else if (now && now->publicUserData && now->publicUserData->userId)
        userId = *now->publicUserData->userId;
    qCWarning(lcAuth).noquote()
        << QStringLiteral("currentToken: getToken failed — %1 | hasSession=%2 sessionId=%3 userId=%4")
               .arg(FailureMessage::describe(failure), now ? QStringLiteral("1") : QStringLiteral("0"),
                    now ? now->id : QStringLiteral("none"), userId);
    co_return std::nullopt;
}

async::Task<void> AuthSession::signOut() {
    return signOut(Clerk::shared());
}

async::Task<void> AuthSession::signOut(Clerk& clerk) {
    std::exception_ptr failure;
    try {
        co_await clerk.signOut();
        co_return;
    } catch (...) {
        failure = std::current_exception();
    }
    qCWarning(lcAuth).noquote()
        << QStringLiteral("signOut failed; re-syncing client — %1").arg(FailureMessage::describe(failure));
    try {
        co_await clerk.refreshClient();
    } catch (...) {
        qCWarning(lcAuth).noquote() << QStringLiteral("client re-sync after sign-out failed — %1")
                                           .arg(FailureMessage::describe(std::current_exception()));
    }
}

APIClient::TokenProvider AuthSession::tokenProvider() {
    return &providedToken;
}

APIClient AuthSession::makeAPIClient() {
    return APIClient(APIConfiguration::baseURL(), tokenProvider());
}
