#pragma once

#include "SignIn.h"
#include "SignUp.h"
#include "Task.h"

// The sign-in and sign-up calls the sign-in screen makes on the auth client's Frontend API.
// Each answer's client is applied by the auth client itself; a completed attempt's session
// becomes the current one there. Errors are the auth client's (ClerkAPIError) or transport errors.
class SignInService {
public:
    virtual ~SignInService() = default;

    virtual async::Task<SignIn> createSignIn(QString identifier, QString password) = 0;
    virtual async::Task<SignIn> prepareSecondFactor(QString signInId, QString strategy) = 0;
    virtual async::Task<SignIn> attemptSecondFactor(QString signInId, QString strategy, QString code) = 0;
    virtual async::Task<SignUp> createSignUp(QString emailAddress, QString password) = 0;
    virtual async::Task<SignUp> prepareVerification(QString signUpId, QString strategy) = 0;
    virtual async::Task<SignUp> attemptVerification(QString signUpId, QString strategy, QString code) = 0;
};
