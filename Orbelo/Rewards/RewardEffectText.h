#pragma once

#include "Gamification/UserRewardItem.h"

#include <QDateTime>
#include <QList>
#include <QString>

// What the rewards that act on their own say: the header's "Double XP until 14:05" and
// "Premium Week until Tue 09:30", and the owned card's line for each kind without a sheet of its
// own. Times are local; a time on another day than `now` names its weekday.
namespace RewardEffectText {

// "Scholar", beside the name of a user who owns the Scholar Badge.
inline const QString scholarBadgeText = QStringLiteral("Scholar");

inline constexpr auto freezeType = "streak_freeze";
inline constexpr auto xpBoostType = "xp_boost";
inline constexpr auto premiumType = "premium_trial";
inline constexpr auto badgeType = "badge";
inline constexpr auto themeType = "theme";
inline constexpr auto tutorType = "tutor_session";

// When the latest reward of `type` in effect at `now` ends; invalid when none is.
QDateTime activeUntil(const QList<UserRewardItem>& owned, const QString& type, const QDateTime& now);
// "14:05" on the day of `now`, else "Tue 14:05".
QString until(const QDateTime& end, const QDateTime& now);
// "Double XP until 14:05", or empty.
QString doubleXpHeader(const QList<UserRewardItem>& owned, const QDateTime& now);
// "Premium Week until Tue 09:30", or empty.
QString premiumHeader(const QList<UserRewardItem>& owned, const QDateTime& now);
// The owned card's line for a streak freeze, a boost, Premium Week, a badge, the theme or a tutor
// session; empty for others.
QString cardNote(const UserRewardItem& reward, const QDateTime& now);

} // namespace RewardEffectText
