#pragma once

#include "JsonRecord.h"

struct CreditsAward {
    std::optional<int> amount;
    std::optional<QString> tier;
    std::optional<int> pointValue;
    JSON_RECORD(CreditsAward, amount, tier, pointValue)
};
