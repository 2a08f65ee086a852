#pragma once

#include "ClerkAPIClient.h"
#include "SignUp.h"

// The sign-up requests of the Frontend API. Each answer's client is applied by the pipeline; the
// calls return the sign-up as it stands afterwards. Cheap to copy, and a call keeps what it needs,
// so it may outlive the object it was made on. Errors: ClerkAPIError, transport errors, and
// ClerkClientError for a call that cannot be made with what it was given.
class SignUpAPI {
public:
    explicit SignUpAPI(ClerkAPIClient api) : api_(std::move(api)) {}

    async::Task<SignUp> create(const SignUp::CreateParams& params) const;
    async::Task<SignUp> update(const QString& signUpId, const SignUp::UpdateParams& params) const;
    async::Task<SignUp> prepareVerification(const QString& signUpId,
                                            const SignUp::PrepareVerificationParams& params) const;
    async::Task<SignUp> attemptVerification(const QString& signUpId,
                                            const SignUp::AttemptVerificationParams& params) const;

    // A sign-up with the email address and password.
    async::Task<SignUp> createWithPassword(const QString& emailAddress, const QString& password) const;
    // The account of the client's sign-in whose external account had no user yet.
    async::Task<SignUp> createTransfer() const;

private:
    ClerkAPIClient api_;
};
