#pragma once

#include "Http/ServerRequest.h"
#include "Http/ServerResponse.h"

struct ServerContext;

// Study cards under /api/study-content/flashcards: the list, the cards due, and SM-2 reviews.
class FlashcardRoutes {
public:
    static constexpr int defaultDueLimit = 100;
    static constexpr int maxDueLimit = 500;

    explicit FlashcardRoutes(ServerContext& context) : context_(context) {}

private:
    friend class Routes; // calls the handlers

    ServerResponse list(const QString& userId);
    ServerResponse due(const ServerRequest& request, const QString& userId);
    ServerResponse review(const ServerRequest& request, const QString& userId);

    ServerContext& context_;
};
