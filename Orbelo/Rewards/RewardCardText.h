#pragma once

#include "Gamification/RewardCatalogItem.h"
#include "Gamification/UserRewardItem.h"

#include <QString>
#include <QStringList>

// The lines the reward cards show, for the marketplace and for the rewards the user owns.
namespace RewardCardText {

// Cost, then whichever of level, uses, duration and list price the item has, in that order.
QStringList catalogLines(const RewardCatalogItem& item);
// "Song reward", "Lyrics reward", "Mnemonic reward" or "Reward".
QString kindLabel(RewardKind kind);
// "Available", "Used", "Fulfilled", or the raw status when it is none of those.
QString status(const QString& fulfillmentStatus);
// "1 use left" / "N uses left"; empty when the reward has no use count.
QString usesLeft(const UserRewardItem& reward);
// "Level N" and "N credits" for the header.
QString level(int level);
QString credits(qint64 credits);

} // namespace RewardCardText
