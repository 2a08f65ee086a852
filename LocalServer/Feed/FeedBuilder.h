#pragma once

#include "Feed/FeedCard.h"
#include "Feed/FeedRanker.h"

#include <QList>
#include <QString>
#include <optional>

struct ServerContext;

// A user's For You feed: concept cards from every processed document (one per concept, the
// first document that defines it wins), cards of the user's stored mnemonics, and community
// cards for the interests of the user's profile, ranked by FeedRanker against the user's
// history, with like counts across users.
class FeedBuilder {
public:
    explicit FeedBuilder(ServerContext& context) : context_(context) {}

    QList<FeedCard> feed(const QString& userId, int limit);
    // A card the user can be shown (any community card), with its current like count.
    std::optional<FeedCard> find(const QString& userId, const QString& cardId);

private:
    FeedRanker::Request candidates(const QString& userId);
    QList<FeedCard> conceptCards(const QString& userId);
    QList<FeedCard> mnemonicCards(const QString& userId);
    void countLikes(QList<FeedCard>& cards);

    ServerContext& context_;
};
