#pragma once

#include "JsonRecord.h"

struct GamificationSummaryResponse {
    qint64 totalXp = 0;
    int level = 0;
    qint64 currentLevelXp = 0;
    qint64 nextLevelXp = 0;
    int streak = 0;
    qint64 credits = 0;
    std::optional<bool> scholarBadge; // owns the Scholar Badge
    JSON_RECORD(GamificationSummaryResponse, totalXp, level, currentLevelXp, nextLevelXp, streak, credits,
                scholarBadge)
};
