#pragma once

#include "JsonRecord.h"
#include "UserInterestDTO.h"

// A profile change: only the fields that are set go out.
struct UserProfileUpdateDTO {
    std::optional<QList<UserInterestDTO>> interests;
    std::optional<QString> background;
    std::optional<QString> schoolLevel;
    std::optional<QString> universityId;
    std::optional<QList<QString>> academicGoals;
    std::optional<int> studyTimePerWeek;
    std::optional<QString> learningStyle;
    std::optional<bool> hasCompletedOnboarding;
    JSON_RECORD(UserProfileUpdateDTO, interests, background, schoolLevel, universityId, academicGoals,
                studyTimePerWeek, learningStyle, hasCompletedOnboarding)
};
