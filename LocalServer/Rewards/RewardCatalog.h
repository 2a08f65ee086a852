#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <optional>

// The rewards marketplace's items, read once from data/rewards.json (compiled in). Items keep
// their wire keys; a purchase copies the name, type, uses and days it was bought with.
class RewardCatalog {
public:
    struct Item {
        QString rewardId;
        QString name;
        QString category;   // "study_tools", "power_ups", "personalization", "premium_experiences"
        QString rewardType; // "song_from_notes", "mnemonic_from_notes", "lyrics_from_notes", …
        QString status;     // "available" or "coming_soon"
        int creditCost = 0;
        int requiresLevel = 1;
        std::optional<int> usageLimit;   // none: unlimited
        std::optional<int> durationDays; // none: never expires
        QJsonObject record;              // the RewardCatalogItem as answered
    };

    static const QList<Item>& items();
    static std::optional<Item> find(const QString& rewardId);
    static QJsonArray json();
    // Reads a catalogue file's text; items with a missing field or an unknown category are left
    // out, with a warning.
    static QList<Item> parse(const QByteArray& text);
};
