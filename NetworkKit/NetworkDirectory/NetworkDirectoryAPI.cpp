#include "NetworkDirectoryAPI.h"

async::Task<DiscoverabilityStatusResponse> NetworkDirectoryAPI::discoverability() const {
    return client_.get<DiscoverabilityStatusResponse>(QStringLiteral("/api/network/discoverability"));
}

async::Task<SetDiscoverabilityResponse> NetworkDirectoryAPI::setDiscoverability(bool enabled) const {
    return client_.post<SetDiscoverabilityResponse>(QStringLiteral("/api/network/discoverability"),
                                                    SetDiscoverabilityRequest{enabled});
}
