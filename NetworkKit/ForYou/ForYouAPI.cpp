#include "ForYouAPI.h"

#include "EmptyRequestBody.h"

async::Task<ForYouFeedResponse> ForYouAPI::feed(int limit) const {
    return client_.get<ForYouFeedResponse>(QStringLiteral("/api/courses/foryou/feed?limit=") +
                                           QString::number(limit));
}

async::Task<ForYouEventResponse> ForYouAPI::reportEvent(const ForYouEventCreate& event) const {
    return client_.post<ForYouEventResponse>(QStringLiteral("/api/courses/foryou/events"), event);
}

QString ForYouAPI::likePath(const QString& cardId, const QString& conceptId) {
    return QStringLiteral("/api/courses/foryou/cards/") + cardId + QStringLiteral("/like?concept_id=") +
           conceptId;
}

async::Task<CardLikeResponse> ForYouAPI::like(const QString& cardId, const QString& conceptId) const {
    return client_.post<CardLikeResponse>(likePath(cardId, conceptId), EmptyRequestBody{});
}

// The like's own address, deleted.
async::Task<CardLikeResponse> ForYouAPI::unlike(const QString& cardId, const QString& conceptId) const {
    return client_.delete_<CardLikeResponse>(likePath(cardId, conceptId));
}
