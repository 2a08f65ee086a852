#pragma once

#include "Auth/ApiAuth.h"
#include "Http/Router.h"

struct ServerContext;

// The school picker's directory: search and lookup of universities.
class UniversityRoutes {
public:
    static constexpr int defaultLimit = 20;
    static constexpr int maxLimit = 100;

    explicit UniversityRoutes(ServerContext& context) : auth_(context) {}

    void registerRoutes(Router& router);

private:
    ApiAuth auth_;
};
