#include "Auth/ClerkSignInService.h"

#include "Clerk.h"

async::Task<SignIn> ClerkSignInService::createSignIn(QString identifier, QString password) {
    return clerk_.signIns().createWithPassword(identifier, password);
}

async::Task<SignIn> ClerkSignInService::prepareSecondFactor(QString signInId, FactorStrategy strategy) {
    SignIn::PrepareSecondFactorParams params;
    params.strategy = std::move(strategy);
    return clerk_.signIns().prepareSecondFactor(signInId, params);
}

async::Task<SignIn> ClerkSignInService::attemptSecondFactor(QString signInId, FactorStrategy strategy,
                                                            QString code) {
    SignIn::AttemptSecondFactorParams params;
    params.strategy = std::move(strategy);
    params.code = std::move(code);
    return clerk_.signIns().attemptSecondFactor(signInId, params);
}

async::Task<SignUp> ClerkSignInService::createSignUp(QString emailAddress, QString password) {
    return clerk_.signUps().createWithPassword(emailAddress, password);
}

async::Task<SignUp> ClerkSignInService::updateSignUp(QString signUpId, SignUp::UpdateParams fields) {
    return clerk_.signUps().update(signUpId, fields);
}

async::Task<SignUp> ClerkSignInService::prepareVerification(QString signUpId, FactorStrategy strategy) {
    SignUp::PrepareVerificationParams params;
    params.strategy = std::move(strategy);
    return clerk_.signUps().prepareVerification(signUpId, params);
}

async::Task<SignUp> ClerkSignInService::attemptVerification(QString signUpId, FactorStrategy strategy,
                                                            QString code) {
    SignUp::AttemptVerificationParams params;
    params.strategy = std::move(strategy);
    params.code = std::move(code);
    return clerk_.signUps().attemptVerification(signUpId, params);
}

async::Task<SignIn> ClerkSignInService::startPasswordReset(QString emailAddress) {
    return clerk_.signIns().startPasswordReset(emailAddress);
}

async::Task<SignIn> ClerkSignInService::resendPasswordResetCode(SignIn signIn) {
    return clerk_.signIns().sendPasswordResetEmailCode(signIn);
}

async::Task<SignIn> ClerkSignInService::verifyPasswordResetCode(SignIn signIn, QString code) {
    return clerk_.signIns().verifyPasswordResetCode(signIn, code);
}

async::Task<SignIn> ClerkSignInService::resetPassword(QString signInId, QString password) {
    SignIn::ResetPasswordParams params;
    params.password = std::move(password);
    return clerk_.signIns().resetPassword(signInId, params);
}

async::Task<SignIn> ClerkSignInService::createOAuthSignIn(OAuthProvider provider, QString redirectUrl) {
    SignIn::CreateParams params;
    params.strategy = FactorStrategy::oauth(provider);
    params.redirectUrl = std::move(redirectUrl);
    return clerk_.signIns().create(params);
}

async::Task<SignIn> ClerkSignInService::reloadSignIn(QString signInId, QString rotatingTokenNonce) {
    return clerk_.signIns().reload(
        signInId, rotatingTokenNonce.isEmpty() ? std::nullopt : std::optional<QString>(rotatingTokenNonce));
}

async::Task<SignUp> ClerkSignInService::createTransferSignUp() {
    return clerk_.signUps().createTransfer();
}
