#pragma once

#include "JsonRecord.h"

struct AchievementEarned {
    QString achievementId;
    std::optional<QString> name;
    JSON_RECORD(AchievementEarned, achievementId, name)
};
