#include "RewardKind.h"

RewardKind rewardKind(const QString& rewardType) {
    if (rewardType == QLatin1String("song_from_notes"))
        return RewardKind::song;
    if (rewardType == QLatin1String("mnemonic_from_notes"))
        return RewardKind::mnemonic;
    if (rewardType == QLatin1String("lyrics_from_notes"))
        return RewardKind::lyrics;
    return RewardKind::other;
}
