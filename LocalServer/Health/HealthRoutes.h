#pragma once

#include "Http/ServerResponse.h"

struct ServerContext;

// What a balancer or a supervisor asks a server process: /healthz, whether it serves at all, and
// /readyz, whether it can answer requests now (its database answers and has this binary's schema).
// Neither needs a token, counts against a request budget or logs a line per hit when all is well.
class HealthRoutes {
public:
    static bool isHealthPath(const QString& path) { return path == "/healthz" || path == "/readyz"; }

    explicit HealthRoutes(ServerContext& context) : context_(context) {}

private:
    friend class Routes; // calls the handlers

    ServerResponse live() const;
    ServerResponse ready() const;

    ServerContext& context_;
};
