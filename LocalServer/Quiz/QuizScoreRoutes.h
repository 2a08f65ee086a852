#pragma once

#include "Auth/ApiAuth.h"
#include "Http/Router.h"

struct ServerContext;

// POST /api/quiz-scores: the score of a finished quiz in one of the user's courses.
class QuizScoreRoutes {
public:
    explicit QuizScoreRoutes(ServerContext& context) : context_(context), auth_(context) {}

    void registerRoutes(Router& router);

private:
    ServerResponse save(const ServerRequest& request, const QString& userId);

    ServerContext& context_;
    ApiAuth auth_;
};
