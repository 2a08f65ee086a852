#pragma once

#include "Http/FaultInjector.h"
#include "Http/ServerRequest.h"
#include "Http/ServerResponse.h"
#include <optional>

struct ServerContext;

// Loopback-only controls for tests and demos under /__control: scripted faults, a second
// factor (phone number and backup codes) for an account, credits given to or taken from an
// account, a true/false quiz issued to an account (answered "0", "True", throughout), and a
// short-lived token of an account's signed-in session, so a test can act as the
// student from outside the app. Open with --demo, else they need the admin token
// (LocalServer::refuseControl).
class ControlApi {
public:
    ControlApi(ServerContext& context, FaultInjector& faults) : context_(context), faults_(faults) {}

private:
    friend class Routes; // calls the handlers

    static constexpr int maxGrant = 1'000'000;
    static constexpr int sessionTokenSeconds = 60;

    ServerResponse faultList() const;
    ServerResponse addFault(const ServerRequest& request);
    ServerResponse clearFaults();
    ServerResponse enableSecondFactor(const ServerRequest& request);
    // The account and non-zero amount a grant names ({"email", "amount"}), when both are valid.
    struct Grant {
        QString userId;
        int amount;
    };
    std::optional<Grant> grantOf(const ServerRequest& request);
    static ServerResponse grantRefused();
    ServerResponse grantCredits(const ServerRequest& request);
    // Adds XP to an account: {"email", "amount"}; answers its level.
    ServerResponse grantXp(const ServerRequest& request);
    ServerResponse issueQuiz(const ServerRequest& request);
    ServerResponse progress(const ServerRequest& request);
    ServerResponse sessionToken(const ServerRequest& request);

    ServerContext& context_;
    FaultInjector& faults_;
};
