#pragma once

#include "JsonRecord.h"

struct CreditsBalanceResponse {
    qint64 bronzeCredits = 0;
    qint64 silverCredits = 0;
    qint64 goldCredits = 0;
    qint64 platinumCredits = 0;
    qint64 totalPoints = 0;
    qint64 lifetimeEarned = 0;
    qint64 lifetimeSpent = 0;
    JSON_RECORD(CreditsBalanceResponse, bronzeCredits, silverCredits, goldCredits, platinumCredits,
                totalPoints, lifetimeEarned, lifetimeSpent)
};
