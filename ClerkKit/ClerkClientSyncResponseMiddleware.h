#pragma once

#include "ClerkLogger.h"
#include "ClerkResponseMiddleware.h"

#include <QPointer>

class Clerk;

// Applies the client that an answer carries: a top-level "client" member or one inside "response"
// (for the client resource itself, "response" is the client), in error answers too. An explicit
// null signs the device out; an answer without the member changes nothing.
class ClerkClientSyncResponseMiddleware final : public ClerkResponseMiddleware {
public:
    ClerkClientSyncResponseMiddleware(QPointer<Clerk> clerk, ClerkLogger logger)
        : clerk_(std::move(clerk)), logger_(std::move(logger)) {}

    void validate(const HttpResponse& response, const ClerkRequest& request) override;

    // Whether the request reads the client resource itself (GET ".../client").
    static bool isClientFetch(const ClerkRequest& request);

private:
    QPointer<Clerk> clerk_;
    ClerkLogger logger_;
};
