#pragma once

#include "Auth/ApiAuth.h"
#include "Http/Router.h"

struct ServerContext;

// Study cards under /api/study-content/flashcards: the list, the cards due, and SM-2 reviews.
class FlashcardRoutes {
public:
    static constexpr int defaultDueLimit = 100;
    static constexpr int maxDueLimit = 500;

    explicit FlashcardRoutes(ServerContext& context) : context_(context), auth_(context) {}

    void registerRoutes(Router& router);

private:
    ServerResponse list(const QString& userId);
    ServerResponse due(const ServerRequest& request, const QString& userId);
    ServerResponse review(const ServerRequest& request, const QString& userId);

    ServerContext& context_;
    ApiAuth auth_;
};
