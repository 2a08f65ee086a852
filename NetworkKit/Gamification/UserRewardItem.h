#pragma once

#include "JsonRecord.h"
#include "RewardFulfillmentData.h"
#include "RewardKind.h"

// A reward the user has bought, with what using it produced so far.
struct UserRewardItem {
    QString userRewardId;
    QString userId;
    QString rewardId;
    std::optional<QString> rewardName;
    std::optional<QString> rewardType;
    int usageCount = 0;
    std::optional<int> usageLimit;
    std::optional<int> remainingUses;
    std::optional<bool> isActive;
    QString fulfillmentStatus;
    std::optional<RewardFulfillmentData> fulfillmentData;
    std::optional<QString> expiresAt; // ISO 8601; timed rewards are in effect until then
    JSON_RECORD(UserRewardItem, userRewardId, userId, rewardId, rewardName, rewardType, usageCount,
                usageLimit, remainingUses, isActive, fulfillmentStatus, fulfillmentData, expiresAt)

    RewardKind kind() const { return rewardKind(rewardType.value_or(QString())); }
};
