#pragma once

#include "JsonRecord.h"

struct PurchaseRewardResponse {
    std::optional<bool> success;
    std::optional<QString> userRewardId;
    std::optional<int> creditsRemaining;
    JSON_RECORD(PurchaseRewardResponse, success, userRewardId, creditsRemaining)
};
