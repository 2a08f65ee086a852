#pragma once

#include "JsonRecord.h"

struct GamificationSummary {
    int totalXp = 0;
    int level = 0;
    int currentLevelXp = 0;
    int nextLevelXp = 0;
    int streak = 0;
    int credits = 0;
    JSON_RECORD(GamificationSummary, totalXp, level, currentLevelXp, nextLevelXp, streak, credits)
};
