#pragma once

#include "ClerkAPIClient.h"
#include "SignIn.h"

// The sign-in requests of the Frontend API. Each answer's client is applied by the pipeline; the
// calls return the sign-in as it stands afterwards. Cheap to copy, and a call keeps what it needs,
// so it may outlive the object it was made on. Errors: ClerkAPIError, transport errors, and
// ClerkClientError for a call that cannot be made with what it was given.
class SignInAPI {
public:
    explicit SignInAPI(ClerkAPIClient api) : api_(std::move(api)) {}

    async::Task<SignIn> create(const SignIn::CreateParams& params) const;
    // The sign-in as it is now; the nonce of an OAuth callback applies the OAuth outcome.
    async::Task<SignIn> reload(const QString& signInId,
                               const std::optional<QString>& rotatingTokenNonce = std::nullopt) const;
    async::Task<SignIn> prepareFirstFactor(const QString& signInId,
                                           const SignIn::PrepareFirstFactorParams& params) const;
    async::Task<SignIn> attemptFirstFactor(const QString& signInId,
                                           const SignIn::AttemptFirstFactorParams& params) const;
    async::Task<SignIn> prepareSecondFactor(const QString& signInId,
                                            const SignIn::PrepareSecondFactorParams& params) const;
    async::Task<SignIn> attemptSecondFactor(const QString& signInId,
                                            const SignIn::AttemptSecondFactorParams& params) const;
    async::Task<SignIn> resetPassword(const QString& signInId,
                                      const SignIn::ResetPasswordParams& params) const;

    // A sign-in with the email address as identifier and its password.
    async::Task<SignIn> createWithPassword(const QString& emailAddress, const QString& password) const;
    // Send a code to the email address or phone number of the sign-in's "email_code" or "phone_code"
    // first factor.
    async::Task<SignIn> sendEmailCode(const SignIn& signIn) const;
    async::Task<SignIn> sendPhoneCode(const SignIn& signIn) const;
    // Attempts the first factor that was prepared last with the code.
    async::Task<SignIn> verifyCode(const SignIn& signIn, const QString& code) const;

    // Password reset: a sign-in for the email address with a reset code sent to it, then the code,
    // then the new password.
    async::Task<SignIn> startPasswordReset(const QString& emailAddress) const;
    async::Task<SignIn> sendPasswordResetEmailCode(const SignIn& signIn) const;
    async::Task<SignIn> verifyPasswordResetCode(const SignIn& signIn, const QString& code) const;

private:
    ClerkAPIClient api_;
};
