#pragma once

#include "Http/ServerRequest.h"
#include "Http/ServerResponse.h"

struct ServerContext;

// The desktop appcast the app checks for newer builds, and the download page it links to. The
// advertised build comes from the server's options; by default it is the app's own build, so the
// app shows no update banner.
class AppcastRoutes {
public:
    explicit AppcastRoutes(ServerContext& context) : context_(context) {}

private:
    friend class Routes; // calls the handlers

    ServerResponse appcast() const;
    ServerResponse downloadPage() const;

    ServerContext& context_;
};
