#pragma once

#include "AuthEvent.h"
#include "ClerkResponseMiddleware.h"

#include <QPointer>

#include <optional>

class Clerk;

// Tells the auth client's observers what a successful answer means for the signed-in state.
class ClerkAuthEventEmitterResponseMiddleware final : public ClerkResponseMiddleware {
public:
    explicit ClerkAuthEventEmitterResponseMiddleware(QPointer<Clerk> clerk) : clerk_(std::move(clerk)) {}

    void validate(const HttpResponse& response, const ClerkRequest& request) override;

    static std::optional<AuthEvent> eventFor(const HttpResponse& response, const ClerkRequest& request);

private:
    QPointer<Clerk> clerk_;
};
