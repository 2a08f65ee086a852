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

    // Browser OAuth: a sign-in with an "oauth_" strategy whose first factor names the page to
    // open; the page sends the user to `redirectUrl` with a "rotating_token_nonce".
    virtual async::Task<SignIn> createOAuthSignIn(QString strategy, QString redirectUrl) = 0;
    // The sign-in as it is now; with the nonce of the callback, the OAuth outcome is applied.
    virtual async::Task<SignIn> reloadSignIn(QString signInId, QString rotatingTokenNonce) = 0;
    // Creates the account of the client's sign-in whose external account had no user yet.
    virtual async::Task<SignUp> createTransferSignUp() = 0;
};
