#pragma once

#include "APIClient.h"
#include "DiscoverabilityStatusResponse.h"
#include "SetDiscoverabilityRequest.h"
#include "SetDiscoverabilityResponse.h"

// Whether schoolmates can find the user in the school directory.
class NetworkDirectoryAPI {
public:
    explicit NetworkDirectoryAPI(APIClient client) : client_(std::move(client)) {}

    async::Task<DiscoverabilityStatusResponse> discoverability() const;
    async::Task<SetDiscoverabilityResponse> setDiscoverability(bool enabled) const;

private:
    APIClient client_;
};
