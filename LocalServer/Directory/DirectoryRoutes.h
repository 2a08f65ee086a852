#pragma once

#include "Http/ServerRequest.h"
#include "Http/ServerResponse.h"

struct ServerContext;

// The school directory's visibility switch: whether schoolmates can find the user.
class DirectoryRoutes {
public:
    explicit DirectoryRoutes(ServerContext& context) : context_(context) {}

private:
    friend class Routes; // calls the handlers

    ServerResponse status(const QString& userId);
    ServerResponse setVisibility(const ServerRequest& request, const QString& userId);
    bool hasUniversity(const QString& userId);
    bool isDiscoverable(const QString& userId);

    ServerContext& context_;
};
