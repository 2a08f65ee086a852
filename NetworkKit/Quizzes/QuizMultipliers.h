#pragma once

#include "JsonRecord.h"

struct QuizMultipliers {
    std::optional<double> difficulty;
    std::optional<double> streak;
    JSON_RECORD(QuizMultipliers, difficulty, streak)
};
