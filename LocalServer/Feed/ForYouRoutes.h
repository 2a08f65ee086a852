#pragma once

#include "Http/ServerRequest.h"
#include "Http/ServerResponse.h"

struct ServerContext;

// The For You feed: GET /api/courses/foryou/feed?limit=N (1…50, default 20), the events the app
// reports as the user walks through it (POST /api/courses/foryou/events, "engaged" or
// "skipped"), and likes (POST to like, DELETE to unlike
// /api/courses/foryou/cards/{cardId}/like?concept_id=…), each answering the card's new count.
class ForYouRoutes {
public:
    static constexpr int defaultLimit = 20;
    static constexpr int maxLimit = 50;

    explicit ForYouRoutes(ServerContext& context) : context_(context) {}

private:
    friend class Routes; // calls the handlers

    ServerResponse feed(const ServerRequest& request, const QString& userId);
    ServerResponse recordEvent(const ServerRequest& request, const QString& userId);
    ServerResponse setLiked(const ServerRequest& request, const QString& userId, bool liked);

    ServerContext& context_;
};
