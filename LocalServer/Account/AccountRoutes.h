#pragma once

#include "Http/ServerRequest.h"
#include "Http/ServerResponse.h"

struct ServerContext;

// Bootstrap, the user's profile and time zone, and account deletion.
class AccountRoutes {
public:
    explicit AccountRoutes(ServerContext& context) : context_(context) {}

private:
    friend class Routes; // calls the handlers

    ServerResponse bootstrap(const QString& userId);
    ServerResponse profile(const QString& userId);
    ServerResponse updateProfile(const ServerRequest& request, const QString& userId);
    ServerResponse reportTimeZone(const ServerRequest& request, const QString& userId);
    ServerResponse deleteAccount(const QString& userId);

    ServerContext& context_;
};
