#include "Feed/ForYouRoutes.h"

#include "Feed/FeedBuilder.h"
#include "Feed/FeedStore.h"
#include "Http/QueryLimit.h"
#include "ServerContext.h"

#include <QJsonArray>

namespace {

const QStringList eventTypes{"engaged", "skipped"};

} // namespace

ServerResponse ForYouRoutes::feed(const ServerRequest& request, const QString& userId) {
    const auto limit = QueryLimit::read(request, defaultLimit, maxLimit);
    if (!limit)
        return ServerResponse::apiError(422, QueryLimit::message);
    QJsonArray items;
    for (const FeedCard& card : FeedBuilder(context_).feed(userId, *limit))
        items.append(card.toJson());
    return ServerResponse::json(QJsonObject{{"user_id", userId}, {"items", items}});
}

ServerResponse ForYouRoutes::recordEvent(const ServerRequest& request, const QString& userId) {
    const QJsonObject body = request.jsonBody();
    const QString cardId = body.value("card_id").toString();
    const QString conceptId = body.value("concept_id").toString();
    const QString type = body.value("event_type").toString();
    if (cardId.isEmpty() || conceptId.isEmpty())
        return ServerResponse::apiError(422, "card_id and concept_id are required.");
    if (!eventTypes.contains(type))
        return ServerResponse::apiError(422, "event_type must be one of " + eventTypes.join(", ") + '.');
    const auto card = FeedBuilder(context_).find(userId, cardId);
    if (!card || card->conceptId != conceptId)
        return ServerResponse::apiError(404, "No such card.");
    const QString eventId = FeedStore(context_).addEvent(userId, cardId, conceptId, type);
    return ServerResponse::json(QJsonObject{{"event_id", eventId}, {"event_type", type}});
}

ServerResponse ForYouRoutes::setLiked(const ServerRequest& request, const QString& userId, bool liked) {
    const QString cardId = request.param(0);
    const QString conceptId = request.query.queryItemValue("concept_id", QUrl::FullyDecoded);
    const auto card = FeedBuilder(context_).find(userId, cardId);
    // The concept may be left out; when given it must be the card's.
    if (!card || (!conceptId.isEmpty() && conceptId != card->conceptId))
        return ServerResponse::apiError(404, "No such card.");
    FeedStore store(context_);
    const int count = liked ? store.like(userId, cardId, card->conceptId) : store.unlike(userId, cardId);
    return ServerResponse::json(QJsonObject{{"card_id", cardId}, {"liked", liked}, {"likes_count", count}});
}
