#pragma once

#include "ClerkRequest.h"
#include "Task.h"

// One step that prepares every outgoing Frontend API request. The request outlives the call.
class ClerkRequestMiddleware {
public:
    virtual ~ClerkRequestMiddleware() = default;
    virtual async::Task<void> prepare(ClerkRequest& request) = 0;
};
