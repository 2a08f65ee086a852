#include "Feed/CommunityCatalogue.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

const CommunityCatalogue& CommunityCatalogue::instance() {
    static const CommunityCatalogue catalogue;
    return catalogue;
}

CommunityCatalogue::CommunityCatalogue() {
    QFile file(resourcePath);
    file.open(QIODevice::ReadOnly);
    for (const QJsonValue& value : QJsonDocument::fromJson(file.readAll()).array()) {
        const QJsonObject entry = value.toObject();
        FeedCard card;
        card.cardId = "community_" + entry.value("id").toString();
        card.conceptId = "community_concept_" + entry.value("id").toString();
        card.cardType = "concept";
        card.cardSource = "community";
        card.title = entry.value("title").toString();
        card.body = entry.value("body").toString();
        card.topic = entry.value("topic").toString();
        card.difficultyTier = entry.value("tier").toInt();
        card.authorName = entry.value("author").toString();
        card.interest = entry.value("interest").toString();
        card.category = entry.value("category").toString();
        cards_.append(card);
    }
}

QList<FeedCard> CommunityCatalogue::matching(const QSet<QString>& interests,
                                             const QSet<QString>& categories) const {
    QList<FeedCard> chosen;
    for (const FeedCard& card : cards_) {
        if (interests.contains(card.interest))
            chosen.append(card);
    }
    for (const FeedCard& card : cards_) {
        if (!interests.contains(card.interest) && categories.contains(card.category))
            chosen.append(card);
    }
    return chosen;
}
