#pragma once

#include "JsonRecord.h"

struct QuizMultipliers {
    std::optional<double> difficulty;
    std::optional<double> streak;
    std::optional<double> xpBoost; // 2 while a Double XP Day is on
    JSON_RECORD(QuizMultipliers, difficulty, streak, xpBoost)
};
