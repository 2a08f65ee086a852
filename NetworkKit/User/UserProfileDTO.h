#pragma once

#include "JsonRecord.h"
#include "UserInterestDTO.h"

struct UserProfileDTO {
    std::optional<QString> userId;
    std::optional<QString> name;
    std::optional<QString> email;
    std::optional<QList<UserInterestDTO>> interests;
    std::optional<QString> background;
    std::optional<QString> universityId;
    std::optional<bool> hasCompletedOnboarding;
    JSON_RECORD(UserProfileDTO, userId, name, email, interests, background, universityId,
                hasCompletedOnboarding)
};
