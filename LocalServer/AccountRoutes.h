#pragma once

#include "ApiAuth.h"
#include "Router.h"

struct ServerContext;

// Bootstrap, the user's profile and time zone, and account deletion.
class AccountRoutes {
public:
    explicit AccountRoutes(ServerContext& context) : context_(context), auth_(context) {}

    void registerRoutes(Router& router);

private:
    HttpResponse bootstrap(const QString& userId);
    HttpResponse profile(const QString& userId);
    HttpResponse updateProfile(const HttpRequest& request, const QString& userId);
    HttpResponse reportTimeZone(const HttpRequest& request, const QString& userId);
    HttpResponse deleteAccount(const QString& userId);

    ServerContext& context_;
    ApiAuth auth_;
};
