#pragma once

#include "ApiAuth.h"
#include "Router.h"

struct ServerContext;

// The rewards economy under /api/gamification: quiz completions and what they earn, timed study
// sessions, the credit balance, the level and the summary of them. Paths and bodies that name a
// user answer only that user.
class GamificationRoutes {
public:
    explicit GamificationRoutes(ServerContext& context) : context_(context), auth_(context) {}

    void registerRoutes(Router& router);

private:
    ServerResponse completeQuiz(const ServerRequest& request, const QString& userId);
    ServerResponse startStudySession(const ServerRequest& request, const QString& userId);
    ServerResponse endStudySession(const ServerRequest& request, const QString& userId);
    ServerResponse summary(const QString& userId);
    ServerResponse creditsBalance(const ServerRequest& request, const QString& userId);
    ServerResponse level(const ServerRequest& request, const QString& userId);

    ServerContext& context_;
    ApiAuth auth_;
};
