#include "Feed/FeedBuilder.h"

#include "Auth/ProfileStore.h"
#include "Feed/CommunityCatalogue.h"
#include "Feed/FeedIds.h"
#include "Feed/FeedStore.h"
#include "ServerContext.h"
#include "Storage/UserTimeZone.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

namespace {

QString mnemonicLabel(const QString& type) {
    static const QHash<QString, QString> labels{{"acronym", "Acronym"},
                                                {"acrostic", "Acrostic"},
                                                {"rhyme", "Rhyme"},
                                                {"story", "Story"},
                                                {"method_of_loci", "Memory palace"}};
    return labels.value(type, QStringLiteral("Mnemonic"));
}

int mnemonicTier(const QString& difficulty) {
    return difficulty == "hard" ? 3 : difficulty == "medium" ? 2 : 1;
}

QString firstNonEmpty(const QStringList& values) {
    for (const QString& value : values) {
        if (!value.trimmed().isEmpty())
            return value.trimmed();
    }
    return {};
}

} // namespace

QList<FeedCard> FeedBuilder::conceptCards(const QString& userId) {
    FeedStore store(context_);
    QList<FeedCard> cards;
    QSet<QString> concepts;
    for (const FeedStore::ConceptSource& source : store.conceptSources(userId)) {
        QList<ConceptCards::Draft> drafts;
        if (source.drafts) {
            drafts = *source.drafts;
        } else {
            // Processed before documents were read for the feed when they became ready.
            drafts = ConceptCards::drafts(store.documentText(source.documentId));
            store.keepDrafts(source.documentId, userId, drafts);
        }
        const QString topic = firstNonEmpty(source.topics);
        for (const ConceptCards::Draft& draft : std::as_const(drafts)) {
            FeedCard card = ConceptCards::card(userId, draft, topic);
            if (!concepts.contains(card.conceptId)) {
                concepts.insert(card.conceptId);
                cards.append(card);
            }
        }
    }
    return cards;
}

QList<FeedCard> FeedBuilder::mnemonicCards(const QString& userId) {
    QList<FeedCard> cards;
    for (const FeedStore::MnemonicSource& source : FeedStore(context_).mnemonicSources(userId)) {
        const QJsonObject& record = source.record;
        const QString& id = source.id;
        FeedCard card;
        card.cardId = FeedIds::make("card", {userId, "mnemonic", id});
        card.conceptId = FeedIds::make("concept", {userId, "mnemonic", id});
        card.cardType = "mnemonic";
        card.cardSource = "mnemonics";
        card.topic = firstNonEmpty(source.topics);
        card.title = mnemonicLabel(record.value("type").toString()) + " for " +
                     (card.topic.isEmpty() ? QStringLiteral("your notes") : card.topic);
        card.body = record.value("explanation").toString().trimmed();
        card.mnemonicHtml = record.value("mnemonic").toString();
        card.difficultyTier = mnemonicTier(record.value("difficulty").toString());
        cards.append(card);
    }
    return cards;
}

FeedRanker::Request FeedBuilder::candidates(const QString& userId) {
    FeedRanker::Request request;
    request.userId = userId;
    request.nowMs = context_.nowMs();
    request.zone = UserTimeZone::of(context_.db, userId).zone;
    request.own = conceptCards(userId) + mnemonicCards(userId);
    QSet<QString> categories;
    const QJsonArray interests = ProfileStore(context_.db).profile(userId).value("interests").toArray();
    for (const QJsonValue& entry : interests) {
        const QJsonArray items = entry.toObject().value("items").toArray();
        for (const QJsonValue& item : items)
            request.interests.insert(item.toString());
        if (!items.isEmpty())
            categories.insert(entry.toObject().value("category").toString());
    }
    request.community = CommunityCatalogue::instance().matching(request.interests, categories);
    return request;
}

void FeedBuilder::countLikes(QList<FeedCard>& cards) {
    QStringList ids;
    for (const FeedCard& card : cards)
        ids.append(card.cardId);
    const QHash<QString, int> counts = FeedStore(context_).likeCounts(ids);
    for (FeedCard& card : cards)
        card.likesCount = counts.value(card.cardId);
}

QList<FeedCard> FeedBuilder::feed(const QString& userId, int limit) {
    FeedRanker::Request request = candidates(userId);
    request.limit = limit;
    QList<FeedCard> cards = FeedRanker::rank(request, FeedStore(context_).history(userId));
    countLikes(cards);
    return cards;
}

std::optional<FeedCard> FeedBuilder::find(const QString& userId, const QString& cardId) {
    QList<FeedCard> all = CommunityCatalogue::instance().cards();
    if (!cardId.startsWith("community_"))
        all = conceptCards(userId) + mnemonicCards(userId);
    for (const FeedCard& card : std::as_const(all)) {
        if (card.cardId == cardId) {
            QList<FeedCard> found{card};
            countLikes(found);
            return found.front();
        }
    }
    return std::nullopt;
}
