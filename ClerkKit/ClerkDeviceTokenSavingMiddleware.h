#pragma once

#include "ClerkResponseMiddleware.h"
#include "ClerkSecretItem.h"
#include "PersistenceWorker.h"

// Keeps the device token that the Frontend API hands out in the "Authorization" response header.
class ClerkDeviceTokenSavingMiddleware final : public ClerkResponseMiddleware {
public:
    explicit ClerkDeviceTokenSavingMiddleware(std::shared_ptr<PersistenceWorker> persistence)
        : persistence_(std::move(persistence)) {}

    void validate(const HttpResponse& response, const ClerkRequest&) override {
        if (const auto token = response.header("Authorization"); token && !token->isEmpty())
            persistence_->write(ClerkSecretItem::deviceToken, *token,
                                QStringLiteral("Failed to save device token to the secret store"));
    }

private:
    std::shared_ptr<PersistenceWorker> persistence_;
};
