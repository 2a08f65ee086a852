#pragma once

#include "AuthStore.h"
#include "Router.h"
#include "SignInRoutes.h"
#include "SignUpRoutes.h"

struct ServerContext;

// The auth service's Frontend API under /v1: environment, client, sign-ins, sign-ups, sessions
// and session tokens, plus the local pages a hosted service would show in a browser (the OAuth
// consent page and the mailbox of sent codes).
class FrontendApi {
public:
    explicit FrontendApi(ServerContext& context)
        : context_(context), store_(context), signIns_(context), signUps_(context) {}

    void registerRoutes(Router& router);

private:
    HttpResponse environment() const;
    HttpResponse client(const HttpRequest& request);
    HttpResponse token(const HttpRequest& request);
    HttpResponse touch(const HttpRequest& request);
    HttpResponse remove(const HttpRequest& request);
    HttpResponse signOutAll(const HttpRequest& request);
    HttpResponse consentPage(const HttpRequest& request);
    HttpResponse consent(const HttpRequest& request);
    HttpResponse mailbox();

    ServerContext& context_;
    AuthStore store_;
    SignInRoutes signIns_;
    SignUpRoutes signUps_;
};
