#pragma once

#include "JsonRecord.h"
#include "RewardKind.h"

struct RewardCatalogItem {
    QString rewardId;
    QString name;
    std::optional<QString> description;
    QString category;
    QString rewardType;
    int creditCost = 0;
    std::optional<double> originalPriceUsd;
    std::optional<int> durationDays;
    std::optional<int> usageLimit;
    std::optional<int> requiresLevel;
    QString status;
    std::optional<QString> imageUrl;
    JSON_RECORD(RewardCatalogItem, rewardId, name, description, category, rewardType, creditCost,
                originalPriceUsd, durationDays, usageLimit, requiresLevel, status, imageUrl)

    RewardKind kind() const { return rewardKind(rewardType); }
};
