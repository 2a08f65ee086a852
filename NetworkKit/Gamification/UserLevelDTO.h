#pragma once

#include "JsonRecord.h"

struct UserLevelDTO {
    int currentLevel = 0;
    QString levelName;
    int currentXp = 0;
    int totalXp = 0;
    int xpToNextLevel = 0;
    JSON_RECORD(UserLevelDTO, currentLevel, levelName, currentXp, totalXp, xpToNextLevel)
};
