#pragma once

#include "JsonRecord.h"
#include "UserInterest.h"

struct UserProfileResponse {
    std::optional<QString> userId;
    std::optional<QString> name;
    std::optional<QString> email;
    std::optional<QList<UserInterest>> interests;
    std::optional<QString> background;
    std::optional<QString> universityId;
    std::optional<bool> hasCompletedOnboarding;
    JSON_RECORD(UserProfileResponse, userId, name, email, interests, background, universityId,
                hasCompletedOnboarding)
};
