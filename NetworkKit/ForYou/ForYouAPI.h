#pragma once

#include "APIClient.h"
#include "CardLikeResponse.h"
#include "ForYouEventCreate.h"
#include "ForYouEventResponse.h"
#include "ForYouFeedResponse.h"

// The personalised card feed, what the user does with its cards, and likes.
class ForYouAPI {
public:
    static constexpr int homeLimit = 10;
    static constexpr int feedScreenLimit = 20;

    explicit ForYouAPI(APIClient client) : client_(std::move(client)) {}

    async::Task<ForYouFeedResponse> feed(int limit) const;
    async::Task<ForYouEventResponse> reportEvent(const ForYouEventCreate& event) const;
    async::Task<CardLikeResponse> like(const QString& cardId, const QString& conceptId) const;
    async::Task<CardLikeResponse> unlike(const QString& cardId, const QString& conceptId) const;

private:
    static QString likePath(const QString& cardId, const QString& conceptId);

    APIClient client_;
};
