#pragma once

#include "JsonRecord.h"

struct PurchaseRewardRequest {
    QString userId;
    QString rewardId;
    JSON_RECORD(PurchaseRewardRequest, userId, rewardId)
};
