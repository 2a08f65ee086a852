#include "Flashcards/FlashcardRoutes.h"

#include "Flashcards/FlashcardStore.h"
#include "Flashcards/SpacedRepetition.h"
#include "Http/QueryLimit.h"
#include "ServerContext.h"
#include "Storage/UserTimeZone.h"

ServerResponse FlashcardRoutes::list(const QString& userId) {
    const QJsonArray cards = FlashcardStore(context_).list(userId);
    return ServerResponse::json(QJsonObject{{"flashcards", cards}, {"count", cards.size()}});
}

ServerResponse FlashcardRoutes::due(const ServerRequest& request, const QString& userId) {
    const std::optional<int> limit = QueryLimit::read(request, defaultDueLimit, maxDueLimit);
    if (!limit)
        return ServerResponse::apiError(422, QueryLimit::message);
    // Cards fall due at local midnight (see SpacedRepetition), so "now" is the same instant in
    // every zone.
    const FlashcardStore::Due due = FlashcardStore(context_).due(userId, context_.nowMs(), *limit);
    return ServerResponse::json(
        QJsonObject{{"flashcards", due.cards}, {"count", due.cards.size()}, {"total", due.total}});
}

ServerResponse FlashcardRoutes::review(const ServerRequest& request, const QString& userId) {
    // The texts a review may carry are the app's copy of the card; the stored card stays as it is.
    const QJsonValue rating = request.jsonBody().value("quality");
    const std::optional<int> quality = rating.isDouble() && rating.toDouble() == rating.toInt()
                                           ? SpacedRepetition::qualityOfRating(rating.toInt())
                                           : std::nullopt;
    if (!quality)
        return ServerResponse::apiError(422, "quality must be 0 (Again), 1 (Hard), 2 (Good) or 3 (Easy).");
    const auto card = FlashcardStore(context_).review(userId, request.param(0), *quality, context_.nowMs(),
                                                      UserTimeZone::of(context_.db, userId).zone);
    if (!card)
        return ServerResponse::apiError(404, "No such flashcard.");
    return ServerResponse::json(QJsonObject{{"status", "success"}, {"flashcard", *card}});
}
