#pragma once

#include <QJsonObject>
#include <QString>

// One card of the For You feed as the app receives it (a ForYouFeedItem). Optional fields that
// are empty (or 0 for the tier) are left out of the record.
struct FeedCard {
    QString cardId;
    QString conceptId;
    QString cardType;   // "concept", "mnemonic"
    QString cardSource; // "notes", "mnemonics", "community"
    QString title;
    QString body;
    QString topic;
    int difficultyTier = 0; // 1 Intro, 2 Core, 3 Advanced, 4 Expert
    QString authorName;
    QString mnemonicHtml;
    int likesCount = 0;
    // Not sent: for community cards, the onboarding interest and its category the card is for.
    QString interest;
    QString category;

    QJsonObject toJson() const;
};
