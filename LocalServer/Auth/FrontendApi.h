#pragma once

#include "Auth/AuthStore.h"
#include "Http/ServerRequest.h"
#include "Http/ServerResponse.h"

struct ServerContext;

// The auth service's Frontend API under /v1: environment, client, sign-ins, sign-ups, sessions
// and session tokens, plus, on a demo server, the local pages a hosted service would show in a
// browser (the OAuth consent page and the mailbox of sent codes).
class FrontendApi {
public:
    explicit FrontendApi(ServerContext& context) : context_(context), store_(context) {}

private:
    friend class Routes; // calls the handlers

    ServerResponse environment() const;
    ServerResponse client(const ServerRequest& request);
    ServerResponse token(const ServerRequest& request);
    ServerResponse touch(const ServerRequest& request);
    ServerResponse remove(const ServerRequest& request);
    ServerResponse signOutAll(const ServerRequest& request);
    ServerResponse consentPage(const ServerRequest& request);
    ServerResponse consent(const ServerRequest& request);
    ServerResponse mailbox();

    ServerContext& context_;
    AuthStore store_;
};
