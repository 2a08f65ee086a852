#pragma once

#include "AchievementEarned.h"
#include "CreditsAward.h"
#include "JsonRecord.h"
#include "QuizMultipliers.h"

struct QuizCompleteResponse {
    std::optional<int> xpAwarded;
    std::optional<CreditsAward> creditsAwarded;
    std::optional<QuizMultipliers> multipliers;
    std::optional<QList<AchievementEarned>> achievementsEarned;
    JSON_RECORD(QuizCompleteResponse, xpAwarded, creditsAwarded, multipliers, achievementsEarned)
};
