#pragma once

#include "APIClient.h"
#include "BootstrapResponse.h"
#include "DeleteAccountResponse.h"
#include "TimezoneSync.h"
#include "UserProfileResponse.h"
#include "UserProfileUpdateRequest.h"

// The signed-in user's data: what screens load on opening, the profile, the time zone, the account.
class UserAPI {
public:
    explicit UserAPI(APIClient client) : client_(std::move(client)) {}

    async::Task<BootstrapResponse> bootstrap() const;
    async::Task<UserProfileResponse> profile() const;
    async::Task<UserProfileResponse> updateProfile(const UserProfileUpdateRequest& update) const;
    async::Task<TimezoneSync::Response> reportTimezone(const QString& timezone) const;
    async::Task<DeleteAccountResponse> deleteAccount() const;

private:
    APIClient client_;
};
