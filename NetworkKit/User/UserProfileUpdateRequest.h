#pragma once

#include "JsonRecord.h"
#include "UserInterest.h"

// A profile change: only the fields that are set go out.
struct UserProfileUpdateRequest {
    std::optional<QList<UserInterest>> interests;
    std::optional<QString> background;
    std::optional<QString> schoolLevel;
    std::optional<QString> universityId;
    std::optional<QList<QString>> academicGoals;
    std::optional<int> studyTimePerWeek;
    std::optional<QString> learningStyle;
    std::optional<bool> hasCompletedOnboarding;
    JSON_RECORD(UserProfileUpdateRequest, interests, background, schoolLevel, universityId, academicGoals,
                studyTimePerWeek, learningStyle, hasCompletedOnboarding)
};
