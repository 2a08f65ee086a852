#include "SignInAPI.h"

#include "ClerkClientError.h"
#include "ClientResponseRequest.h"

namespace {

const QString signInsPath = QStringLiteral("/v1/client/sign_ins");

QString pathOf(const QString& signInId, const char* action = nullptr) {
    QString path = signInsPath + QLatin1Char('/') + signInId;
    if (action)
        path += QLatin1Char('/') + QLatin1String(action);
    return path;
}

async::Task<SignIn> failed(QString message) {
    throw ClerkClientError(std::move(message));
    co_return SignIn{};
}

std::optional<Factor> firstFactor(const SignIn& signIn, const FactorStrategy& strategy) {
    for (const Factor& factor : signIn.supportedFirstFactors.value_or(QList<Factor>{}))
        if (factor.strategy == strategy.rawValue())
            return factor;
    return std::nullopt;
}

QString missingFactor(const FactorStrategy& strategy) {
    return QStringLiteral("This sign-in offers no '%1' factor.").arg(strategy.rawValue());
}

const QString emailRequired = QStringLiteral("Email address is required.");

async::Task<SignIn> createThenSendResetCode(SignInAPI api, QString emailAddress) {
    SignIn::CreateParams params;
    params.identifier = emailAddress;
    const SignIn created = co_await api.create(params);
    co_return co_await api.sendPasswordResetEmailCode(created);
}

} // namespace

async::Task<SignIn> SignInAPI::create(const SignIn::CreateParams& params) const {
    return requestResource<SignIn>(api_, "POST", signInsPath, formOf(params));
}

async::Task<SignIn> SignInAPI::reload(const QString& signInId,
                                      const std::optional<QString>& rotatingTokenNonce) const {
    ClerkAPIClient::QueryItems query;
    if (rotatingTokenNonce)
        query.append({QStringLiteral("rotating_token_nonce"), *rotatingTokenNonce});
    return requestResource<SignIn>(api_, "GET", pathOf(signInId), std::nullopt, query);
}

async::Task<SignIn> SignInAPI::prepareFirstFactor(const QString& signInId,
                                                  const SignIn::PrepareFirstFactorParams& params) const {
    return requestResource<SignIn>(api_, "POST", pathOf(signInId, "prepare_first_factor"), formOf(params));
}

async::Task<SignIn> SignInAPI::attemptFirstFactor(const QString& signInId,
                                                  const SignIn::AttemptFirstFactorParams& params) const {
    return requestResource<SignIn>(api_, "POST", pathOf(signInId, "attempt_first_factor"), formOf(params));
}

async::Task<SignIn> SignInAPI::prepareSecondFactor(const QString& signInId,
                                                   const SignIn::PrepareSecondFactorParams& params) const {
    return requestResource<SignIn>(api_, "POST", pathOf(signInId, "prepare_second_factor"), formOf(params));
}

async::Task<SignIn> SignInAPI::attemptSecondFactor(const QString& signInId,
                                                   const SignIn::AttemptSecondFactorParams& params) const {
    return requestResource<SignIn>(api_, "POST", pathOf(signInId, "attempt_second_factor"), formOf(params));
}

async::Task<SignIn> SignInAPI::resetPassword(const QString& signInId,
                                             const SignIn::ResetPasswordParams& params) const {
    return requestResource<SignIn>(api_, "POST", pathOf(signInId, "reset_password"), formOf(params));
}

async::Task<SignIn> SignInAPI::createWithPassword(const QString& emailAddress,
                                                  const QString& password) const {
    if (emailAddress.trimmed().isEmpty())
        return failed(emailRequired);
    SignIn::CreateParams params;
    params.identifier = emailAddress;
    params.password = password;
    return create(params);
}

async::Task<SignIn> SignInAPI::sendEmailCode(const SignIn& signIn) const {
    const FactorStrategy strategy = FactorStrategy::emailCode();
    const std::optional<Factor> factor = firstFactor(signIn, strategy);
    if (!factor)
        return failed(missingFactor(strategy));
    SignIn::PrepareFirstFactorParams params;
    params.strategy = strategy;
    params.emailAddressId = factor->emailAddressId;
    return prepareFirstFactor(signIn.id, params);
}

async::Task<SignIn> SignInAPI::sendPhoneCode(const SignIn& signIn) const {
    const FactorStrategy strategy = FactorStrategy::phoneCode();
    const std::optional<Factor> factor = firstFactor(signIn, strategy);
    if (!factor)
        return failed(missingFactor(strategy));
    SignIn::PrepareFirstFactorParams params;
    params.strategy = strategy;
    params.phoneNumberId = factor->phoneNumberId;
    return prepareFirstFactor(signIn.id, params);
}

async::Task<SignIn> SignInAPI::verifyCode(const SignIn& signIn, const QString& code) const {
    const std::optional<QString> prepared =
        signIn.firstFactorVerification ? signIn.firstFactorVerification->strategy : std::nullopt;
    if (!prepared)
        return failed(QStringLiteral("Unable to verify code because no first factor strategy is set."));
    const FactorStrategy strategy = FactorStrategy::fromRawValue(*prepared);
    if (!strategy.takesCode())
        return failed(QStringLiteral("Unable to verify code for strategy '%1'").arg(*prepared));
    SignIn::AttemptFirstFactorParams params;
    params.strategy = strategy;
    params.code = code;
    return attemptFirstFactor(signIn.id, params);
}

async::Task<SignIn> SignInAPI::startPasswordReset(const QString& emailAddress) const {
    if (emailAddress.trimmed().isEmpty())
        return failed(emailRequired);
    return createThenSendResetCode(*this, emailAddress);
}

async::Task<SignIn> SignInAPI::sendPasswordResetEmailCode(const SignIn& signIn) const {
    const FactorStrategy strategy = FactorStrategy::resetPasswordEmailCode();
    const std::optional<Factor> reset = firstFactor(signIn, strategy);
    if (!reset)
        return failed(missingFactor(strategy));
    // The address the sign-in verifies by email code is the one the reset code goes to.
    const std::optional<Factor> emailCode = firstFactor(signIn, FactorStrategy::emailCode());
    SignIn::PrepareFirstFactorParams params;
    params.strategy = strategy;
    params.emailAddressId =
        emailCode && emailCode->emailAddressId ? emailCode->emailAddressId : reset->emailAddressId;
    return prepareFirstFactor(signIn.id, params);
}

async::Task<SignIn> SignInAPI::verifyPasswordResetCode(const SignIn& signIn, const QString& code) const {
    SignIn::AttemptFirstFactorParams params;
    params.strategy = FactorStrategy::resetPasswordEmailCode();
    params.code = code;
    return attemptFirstFactor(signIn.id, params);
}
