#pragma once

#include "JsonRecord.h"

// cooldownRemainingFormatted is ready to show.
struct QuizCacheStatusResponse {
    bool hasCachedQuiz = false;
    bool canRegenerate = false;
    int dailyGenerationsUsed = 0;
    int dailyGenerationsRemaining = 0;
    int maxDailyGenerations = 0;
    std::optional<QString> cooldownRemainingFormatted;
    JSON_RECORD(QuizCacheStatusResponse, hasCachedQuiz, canRegenerate, dailyGenerationsUsed,
                dailyGenerationsRemaining, maxDailyGenerations, cooldownRemainingFormatted)
};
