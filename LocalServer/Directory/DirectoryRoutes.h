#pragma once

#include "Auth/ApiAuth.h"
#include "Http/Router.h"

struct ServerContext;

// The school directory's visibility switch: whether schoolmates can find the user.
class DirectoryRoutes {
public:
    explicit DirectoryRoutes(ServerContext& context) : context_(context), auth_(context) {}

    void registerRoutes(Router& router);

private:
    ServerResponse status(const QString& userId);
    ServerResponse setVisibility(const ServerRequest& request, const QString& userId);
    bool hasUniversity(const QString& userId);
    bool isDiscoverable(const QString& userId);

    ServerContext& context_;
    ApiAuth auth_;
};
