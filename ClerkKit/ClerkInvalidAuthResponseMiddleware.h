#pragma once

#include "ClerkResponseMiddleware.h"

#include <QPointer>

class Clerk;

// When the Frontend API no longer knows the device's authentication ("authentication_invalid",
// "resource_not_found"), has the auth client refresh its client, except after a client fetch.
class ClerkInvalidAuthResponseMiddleware final : public ClerkResponseMiddleware {
public:
    explicit ClerkInvalidAuthResponseMiddleware(QPointer<Clerk> clerk) : clerk_(std::move(clerk)) {}

    void validate(const HttpResponse& response, const ClerkRequest& request) override;

private:
    QPointer<Clerk> clerk_;
};
