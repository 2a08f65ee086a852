#include "Rewards/RewardCardText.h"

namespace RewardCardText {

QStringList catalogLines(const RewardCatalogItem& item) {
    QStringList lines{credits(item.creditCost)};
    if (item.requiresLevel)
        lines << level(*item.requiresLevel);
    if (item.usageLimit)
        lines << (*item.usageLimit == 1 ? QStringLiteral("1 use")
                                        : QStringLiteral("%1 uses").arg(*item.usageLimit));
    if (item.durationDays)
        lines << QStringLiteral("Lasts %1 days").arg(*item.durationDays);
    if (item.originalPriceUsd)
        lines << QString::asprintf("$%.0f value", *item.originalPriceUsd);
    return lines;
}

QString kindLabel(RewardKind kind) {
    switch (kind) {
    case RewardKind::song:
        return QStringLiteral("Song reward");
    case RewardKind::lyrics:
        return QStringLiteral("Lyrics reward");
    case RewardKind::mnemonic:
        return QStringLiteral("Mnemonic reward");
    case RewardKind::other:
        break;
    }
    return QStringLiteral("Reward");
}

QString status(const QString& fulfillmentStatus) {
    if (fulfillmentStatus == QLatin1String("available"))
        return QStringLiteral("Available");
    if (fulfillmentStatus == QLatin1String("used"))
        return QStringLiteral("Used");
    if (fulfillmentStatus == QLatin1String("fulfilled"))
        return QStringLiteral("Fulfilled");
    return fulfillmentStatus;
}

QString usesLeft(const UserRewardItem& reward) {
    std::optional<int> remaining = reward.remainingUses;
    if (!remaining && reward.usageLimit)
        remaining = std::max(0, *reward.usageLimit - reward.usageCount);
    if (!remaining)
        return {};
    return *remaining == 1 ? QStringLiteral("1 use left") : QStringLiteral("%1 uses left").arg(*remaining);
}

QString level(int level) {
    return QStringLiteral("Level %1").arg(level);
}

QString credits(qint64 credits) {
    return QStringLiteral("%1 credits").arg(credits);
}

} // namespace RewardCardText
