#pragma once

#include "ClerkRequestMiddleware.h"
#include "DeviceInfo.h"
#include "PersistenceWorker.h"

#include <functional>
#include <memory>

// Identifies the device and its client on every request: the stored device token as
// "Authorization", the client's id and the "x-…" device headers.
class ClerkHeaderRequestMiddleware final : public ClerkRequestMiddleware {
public:
    using ClientIdProvider = std::function<std::optional<QString>()>;

    ClerkHeaderRequestMiddleware(std::shared_ptr<PersistenceWorker> persistence, ClientIdProvider clientId,
                                 DeviceInfo device)
        : persistence_(std::move(persistence)), clientId_(std::move(clientId)), device_(std::move(device)) {}

    async::Task<void> prepare(ClerkRequest& request) override;

private:
    std::shared_ptr<PersistenceWorker> persistence_;
    ClientIdProvider clientId_;
    DeviceInfo device_;
};
