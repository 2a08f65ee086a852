#include "UserAPI.h"

async::Task<BootstrapResponse> UserAPI::bootstrap() const {
    return client_.get<BootstrapResponse>(QStringLiteral("/api/bootstrap"));
}

async::Task<UserProfileResponse> UserAPI::profile() const {
    return client_.get<UserProfileResponse>(QStringLiteral("/api/user/profile"));
}

async::Task<UserProfileResponse> UserAPI::updateProfile(const UserProfileUpdateRequest& update) const {
    return client_.put<UserProfileResponse>(QStringLiteral("/api/user/profile"), update);
}

async::Task<TimezoneSync::Response> UserAPI::reportTimezone(const QString& timezone) const {
    return client_.patch<TimezoneSync::Response>(QStringLiteral("/api/user/timezone"),
                                                 TimezoneSync::Payload{timezone});
}

async::Task<DeleteAccountResponse> UserAPI::deleteAccount() const {
    return client_.delete_<DeleteAccountResponse>(QStringLiteral("/api/user/account"));
}
