#pragma once

#include "JsonRecord.h"

struct UserLevelResponse {
    int currentLevel = 0;
    QString levelName;
    qint64 currentXp = 0;
    qint64 totalXp = 0;
    qint64 xpToNextLevel = 0;
    std::optional<bool> scholarBadge; // owns the Scholar Badge
    JSON_RECORD(UserLevelResponse, currentLevel, levelName, currentXp, totalXp, xpToNextLevel, scholarBadge)
};
