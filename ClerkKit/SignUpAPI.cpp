#include "SignUpAPI.h"

#include "ClerkClientError.h"
#include "ClientResponseRequest.h"

namespace {

const QString signUpsPath = QStringLiteral("/v1/client/sign_ups");

QString pathOf(const QString& signUpId, const char* action = nullptr) {
    QString path = signUpsPath + QLatin1Char('/') + signUpId;
    if (action)
        path += QLatin1Char('/') + QLatin1String(action);
    return path;
}

async::Task<SignUp> failed(QString message) {
    throw ClerkClientError(std::move(message));
    co_return SignUp{};
}

} // namespace

async::Task<SignUp> SignUpAPI::create(const SignUp::CreateParams& params) const {
    return requestResource<SignUp>(api_, "POST", signUpsPath, formOf(params));
}

async::Task<SignUp> SignUpAPI::update(const QString& signUpId, const SignUp::UpdateParams& params) const {
    return requestResource<SignUp>(api_, "PATCH", pathOf(signUpId), formOf(params));
}

async::Task<SignUp> SignUpAPI::prepareVerification(const QString& signUpId,
                                                   const SignUp::PrepareVerificationParams& params) const {
    return requestResource<SignUp>(api_, "POST", pathOf(signUpId, "prepare_verification"), formOf(params));
}

async::Task<SignUp> SignUpAPI::attemptVerification(const QString& signUpId,
                                                   const SignUp::AttemptVerificationParams& params) const {
    return requestResource<SignUp>(api_, "POST", pathOf(signUpId, "attempt_verification"), formOf(params));
}

async::Task<SignUp> SignUpAPI::createWithPassword(const QString& emailAddress,
                                                  const QString& password) const {
    if (emailAddress.trimmed().isEmpty())
        return failed(QStringLiteral("Email address is required."));
    SignUp::CreateParams params;
    params.emailAddress = emailAddress;
    params.password = password;
    return create(params);
}

async::Task<SignUp> SignUpAPI::createTransfer() const {
    SignUp::CreateParams params;
    params.transfer = true;
    return create(params);
}
