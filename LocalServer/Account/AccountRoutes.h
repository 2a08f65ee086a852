#pragma once

#include "Auth/ApiAuth.h"
#include "Http/Router.h"

struct ServerContext;

// Bootstrap, the user's profile and time zone, and account deletion.
class AccountRoutes {
public:
    explicit AccountRoutes(ServerContext& context) : context_(context), auth_(context) {}

    void registerRoutes(Router& router);

private:
    ServerResponse bootstrap(const QString& userId);
    ServerResponse profile(const QString& userId);
    ServerResponse updateProfile(const ServerRequest& request, const QString& userId);
    ServerResponse reportTimeZone(const ServerRequest& request, const QString& userId);
    ServerResponse deleteAccount(const QString& userId);

    ServerContext& context_;
    ApiAuth auth_;
};
