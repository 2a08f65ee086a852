#pragma once

#include "Auth/SignInService.h"

class Clerk;

// SignInService over the auth client's sign-in and sign-up requests.
class ClerkSignInService final : public SignInService {
public:
    explicit ClerkSignInService(Clerk& clerk) : clerk_(clerk) {}

    async::Task<SignIn> createSignIn(QString identifier, QString password) override;
    async::Task<SignIn> prepareSecondFactor(QString signInId, FactorStrategy strategy) override;
    async::Task<SignIn> attemptSecondFactor(QString signInId, FactorStrategy strategy, QString code) override;
    async::Task<SignUp> createSignUp(QString emailAddress, QString password) override;
    async::Task<SignUp> updateSignUp(QString signUpId, SignUp::UpdateParams fields) override;
    async::Task<SignUp> prepareVerification(QString signUpId, FactorStrategy strategy) override;
    async::Task<SignUp> attemptVerification(QString signUpId, FactorStrategy strategy, QString code) override;
    async::Task<SignIn> startPasswordReset(QString emailAddress) override;
    async::Task<SignIn> resendPasswordResetCode(SignIn signIn) override;
    async::Task<SignIn> verifyPasswordResetCode(SignIn signIn, QString code) override;
    async::Task<SignIn> resetPassword(QString signInId, QString password) override;
    async::Task<SignIn> createOAuthSignIn(OAuthProvider provider, QString redirectUrl) override;
    async::Task<SignIn> reloadSignIn(QString signInId, QString rotatingTokenNonce) override;
    async::Task<SignUp> createTransferSignUp() override;

private:
    Clerk& clerk_;
};
