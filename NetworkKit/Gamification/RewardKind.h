#pragma once

#include <QString>

// What using a reward produces, from its reward type.
enum class RewardKind { song, mnemonic, lyrics, other };

RewardKind rewardKind(const QString& rewardType);
