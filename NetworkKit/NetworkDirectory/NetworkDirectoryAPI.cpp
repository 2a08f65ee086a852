#include "NetworkDirectoryAPI.h"

async::Task<DiscoverabilityStatus> NetworkDirectoryAPI::discoverability() const {
    return client_.get<DiscoverabilityStatus>(QStringLiteral("/api/network/discoverability"));
}

async::Task<SetDiscoverabilityResponse> NetworkDirectoryAPI::setDiscoverability(bool enabled) const {
    return client_.post<SetDiscoverabilityResponse>(QStringLiteral("/api/network/discoverability"),
                                                    SetDiscoverabilityRequest{enabled});
}
