#pragma once

#include "JsonRecord.h"

struct PurchaseRewardResponse {
    std::optional<bool> success;
    std::optional<QString> userRewardId;
    std::optional<qint64> creditsRemaining;
    JSON_RECORD(PurchaseRewardResponse, success, userRewardId, creditsRemaining)
};
