#pragma once

#include "JsonRecord.h"

struct CreditsBalance {
    int bronzeCredits = 0;
    int silverCredits = 0;
    int goldCredits = 0;
    int platinumCredits = 0;
    int totalPoints = 0;
    int lifetimeEarned = 0;
    int lifetimeSpent = 0;
    JSON_RECORD(CreditsBalance, bronzeCredits, silverCredits, goldCredits, platinumCredits, totalPoints,
                lifetimeEarned, lifetimeSpent)
};
