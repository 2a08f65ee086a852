#pragma once

#include "Gamification/RewardCatalogItem.h"

#include <QString>

// What a marketplace card's button says and whether it can be pressed. The first rule that applies
// wins: coming soon, being bought, the level gate, the credit gate, then "Purchase".
struct RewardButtonState {
    QString label;
    bool enabled = false;
    // The spoken hint; only "Purchase" has one.
    QString hint;

    static RewardButtonState forItem(const RewardCatalogItem& item, qint64 balance, int level,
                                     bool purchasing);

    bool operator==(const RewardButtonState&) const = default;
};
