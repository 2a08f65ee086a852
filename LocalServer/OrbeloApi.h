#pragma once

#include "AccountRoutes.h"
#include "Router.h"

struct ServerContext;

// The Orbelo API under /api, with presigned storage under /storage and audio under /media.
class OrbeloApi {
public:
    explicit OrbeloApi(ServerContext& context) : account_(context) {}

    void registerRoutes(Router& router);

private:
    AccountRoutes account_;
};
