#pragma once

#include "Http/ServerRequest.h"
#include "Http/ServerResponse.h"

// The school picker's directory: search and lookup of universities.
class UniversityRoutes {
public:
    static constexpr int defaultLimit = 20;
    static constexpr int maxLimit = 100;

    // Up to `limit` universities (defaultLimit, at most maxLimit) matching `q`.
    static ServerResponse search(const ServerRequest& request);
    static ServerResponse find(const ServerRequest& request);
};
