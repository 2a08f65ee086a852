#include "ClerkSignInService.h"

#include "Clerk.h"
#include "ClientResponse.h"

#include <QJsonObject>

namespace {

// The API client is copied into the frame, so a call outlives the service object it was made on.
template <class T>
async::Task<T> call(ClerkAPIClient api, QByteArray method, QString path, std::optional<QJsonObject> body,
                    ClerkAPIClient::QueryItems query = {}) {
    const ClientResponse<T> answer = co_await api.request<ClientResponse<T>>(
        std::move(method), std::move(path), std::move(body), std::move(query));
    co_return answer.response;
}

} // namespace

async::Task<SignIn> ClerkSignInService::createSignIn(QString identifier, QString password) {
    QJsonObject body{{"identifier", identifier}, {"password", password}};
    return call<SignIn>(clerk_.apiClient(), "POST", QStringLiteral("/v1/client/sign_ins"), body);
}

async::Task<SignIn> ClerkSignInService::prepareSecondFactor(QString signInId, QString strategy) {
    QJsonObject body{{"strategy", strategy}};
    return call<SignIn>(clerk_.apiClient(), "POST",
                        QStringLiteral("/v1/client/sign_ins/%1/prepare_second_factor").arg(signInId), body);
}

async::Task<SignIn> ClerkSignInService::attemptSecondFactor(QString signInId, QString strategy,
                                                            QString code) {
    QJsonObject body{{"strategy", strategy}, {"code", code}};
    return call<SignIn>(clerk_.apiClient(), "POST",
                        QStringLiteral("/v1/client/sign_ins/%1/attempt_second_factor").arg(signInId), body);
}

async::Task<SignUp> ClerkSignInService::createSignUp(QString emailAddress, QString password) {
    QJsonObject body{{"email_address", emailAddress}, {"password", password}};
    return call<SignUp>(clerk_.apiClient(), "POST", QStringLiteral("/v1/client/sign_ups"), body);
}

async::Task<SignUp> ClerkSignInService::prepareVerification(QString signUpId, QString strategy) {
    QJsonObject body{{"strategy", strategy}};
    return call<SignUp>(clerk_.apiClient(), "POST",
                        QStringLiteral("/v1/client/sign_ups/%1/prepare_verification").arg(signUpId), body);
}

async::Task<SignUp> ClerkSignInService::attemptVerification(QString signUpId, QString strategy,
                                                            QString code) {
    QJsonObject body{{"strategy", strategy}, {"code", code}};
    return call<SignUp>(clerk_.apiClient(), "POST",
                        QStringLiteral("/v1/client/sign_ups/%1/attempt_verification").arg(signUpId), body);
}

async::Task<SignIn> ClerkSignInService::createOAuthSignIn(QString strategy, QString redirectUrl) {
    QJsonObject body{{"strategy", strategy}, {"redirect_url", redirectUrl}};
    return call<SignIn>(clerk_.apiClient(), "POST", QStringLiteral("/v1/client/sign_ins"), body);
}

async::Task<SignIn> ClerkSignInService::reloadSignIn(QString signInId, QString rotatingTokenNonce) {
    ClerkAPIClient::QueryItems query;
    if (!rotatingTokenNonce.isEmpty())
        query.append({QStringLiteral("rotating_token_nonce"), rotatingTokenNonce});
    return call<SignIn>(clerk_.apiClient(), "GET", QStringLiteral("/v1/client/sign_ins/%1").arg(signInId),
                        std::nullopt, query);
}

async::Task<SignUp> ClerkSignInService::createTransferSignUp() {
    QJsonObject body{{"transfer", true}};
    return call<SignUp>(clerk_.apiClient(), "POST", QStringLiteral("/v1/client/sign_ups"), body);
}
