#include "UserAPI.h"

async::Task<BootstrapResponse> UserAPI::bootstrap() const {
    return client_.get<BootstrapResponse>(QStringLiteral("/api/bootstrap"));
}

async::Task<UserProfileDTO> UserAPI::profile() const {
    return client_.get<UserProfileDTO>(QStringLiteral("/api/user/profile"));
}

async::Task<UserProfileDTO> UserAPI::updateProfile(const UserProfileUpdateDTO& update) const {
    return client_.put<UserProfileDTO>(QStringLiteral("/api/user/profile"), update);
}

async::Task<TimezoneSync::Response> UserAPI::reportTimezone(const QString& timezone) const {
    return client_.patch<TimezoneSync::Response>(QStringLiteral("/api/user/timezone"),
                                                 TimezoneSync::Payload{timezone});
}

async::Task<DeleteAccountResponse> UserAPI::deleteAccount() const {
    return client_.delete_<DeleteAccountResponse>(QStringLiteral("/api/user/account"));
}
