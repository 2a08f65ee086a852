#pragma once

#include "Http/ServerRequest.h"
#include "Http/ServerResponse.h"

struct ServerContext;

// The rewards marketplace under /api/gamification/rewards: the catalogue, purchases paid from
// the credits ledger, and the rewards a user owns with their uses and what they produced.
class RewardRoutes {
public:
    explicit RewardRoutes(ServerContext& context) : context_(context) {}

private:
    friend class Routes; // calls the handlers

    static ServerResponse catalog();
    ServerResponse purchase(const ServerRequest& request, const QString& userId);
    ServerResponse purchased(const ServerRequest& request, const QString& userId);

    ServerContext& context_;
};
