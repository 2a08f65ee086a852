#include "Rewards/RewardButtonState.h"

RewardButtonState RewardButtonState::forItem(const RewardCatalogItem& item, qint64 balance, int level,
                                             bool purchasing) {
    if (item.status == QLatin1String("coming_soon"))
        return {QStringLiteral("Coming soon"), false, {}};
    if (purchasing)
        return {QStringLiteral("Purchasing…"), false, {}};
    if (item.requiresLevel && level < *item.requiresLevel)
        return {QStringLiteral("Reach Level %1 to unlock").arg(*item.requiresLevel), false, {}};
    if (balance < item.creditCost)
        return {QStringLiteral("Need %1 more credits to unlock").arg(item.creditCost - balance), false, {}};
    return {QStringLiteral("Purchase"), true,
            QStringLiteral("Purchases this reward for %1 credits.").arg(item.creditCost)};
}
