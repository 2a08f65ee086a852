#pragma once

#include "Auth/ApiAuth.h"
#include "Http/Router.h"

struct ServerContext;

// The rewards marketplace under /api/gamification/rewards: the catalogue, purchases paid from
// the credits ledger, and the rewards a user owns with their uses and what they produced.
class RewardRoutes {
public:
    explicit RewardRoutes(ServerContext& context) : context_(context), auth_(context) {}

    void registerRoutes(Router& router);

private:
    ServerResponse purchase(const ServerRequest& request, const QString& userId);
    ServerResponse purchased(const ServerRequest& request, const QString& userId);

    ServerContext& context_;
    ApiAuth auth_;
};
