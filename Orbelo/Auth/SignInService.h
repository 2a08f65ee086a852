#pragma once

#include "FactorStrategy.h"
#include "OAuthProvider.h"
#include "SignIn.h"
#include "SignUp.h"
#include "Task.h"

// The sign-in and sign-up calls the sign-in screen makes on the auth client's Frontend API.
// Each answer's client is applied by the auth client itself; a completed attempt's session
// becomes the current one there. Errors are the auth client's (ClerkAPIError, ClerkClientError)
// or transport errors.
class SignInService {
public:
    virtual ~SignInService() = default;

    virtual async::Task<SignIn> createSignIn(QString identifier, QString password) = 0;
    virtual async::Task<SignIn> prepareSecondFactor(QString signInId, FactorStrategy strategy) = 0;
    virtual async::Task<SignIn> attemptSecondFactor(QString signInId, FactorStrategy strategy,
                                                    QString code) = 0;

    virtual async::Task<SignUp> createSignUp(QString emailAddress, QString password) = 0;
    // Fills in fields the instance requires ("first_name", "last_name", "legal_accepted").
    virtual async::Task<SignUp> updateSignUp(QString signUpId, SignUp::UpdateParams fields) = 0;
    virtual async::Task<SignUp> prepareVerification(QString signUpId, FactorStrategy strategy) = 0;
    virtual async::Task<SignUp> attemptVerification(QString signUpId, FactorStrategy strategy,
                                                    QString code) = 0;

    // Password reset: a sign-in for the address with a reset code sent to it; the code again; the
    // code checked; then the new password, which ends the sign-in or asks for its second factor.
    virtual async::Task<SignIn> startPasswordReset(QString emailAddress) = 0;
    virtual async::Task<SignIn> resendPasswordResetCode(SignIn signIn) = 0;
    virtual async::Task<SignIn> verifyPasswordResetCode(SignIn signIn, QString code) = 0;
    virtual async::Task<SignIn> resetPassword(QString signInId, QString password) = 0;

    // Browser OAuth: a sign-in whose first factor names the page to open; the page sends the
    // user to `redirectUrl` with a "rotating_token_nonce".
    virtual async::Task<SignIn> createOAuthSignIn(OAuthProvider provider, QString redirectUrl) = 0;
    // The sign-in as it is now; with the nonce of the callback, the OAuth outcome is applied.
    virtual async::Task<SignIn> reloadSignIn(QString signInId, QString rotatingTokenNonce) = 0;
    // Creates the account of the client's sign-in whose external account had no user yet.
    virtual async::Task<SignUp> createTransferSignUp() = 0;
};
