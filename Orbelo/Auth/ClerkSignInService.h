#pragma once

#include "SignInService.h"

class Clerk;

// SignInService over the shared auth client's Frontend API pipeline.
class ClerkSignInService final : public SignInService {
public:
    explicit ClerkSignInService(Clerk& clerk) : clerk_(clerk) {}

    async::Task<SignIn> createSignIn(QString identifier, QString password) override;
    async::Task<SignIn> prepareSecondFactor(QString signInId, QString strategy) override;
    async::Task<SignIn> attemptSecondFactor(QString signInId, QString strategy, QString code) override;
    async::Task<SignUp> createSignUp(QString emailAddress, QString password) override;
    async::Task<SignUp> prepareVerification(QString signUpId, QString strategy) override;
    async::Task<SignUp> attemptVerification(QString signUpId, QString strategy, QString code) override;
    async::Task<SignIn> createOAuthSignIn(QString strategy, QString redirectUrl) override;
    async::Task<SignIn> reloadSignIn(QString signInId, QString rotatingTokenNonce) override;
    async::Task<SignUp> createTransferSignUp() override;

private:
    Clerk& clerk_;
};
