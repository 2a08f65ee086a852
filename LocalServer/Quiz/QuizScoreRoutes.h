#pragma once

#include "Http/ServerRequest.h"
#include "Http/ServerResponse.h"

struct ServerContext;

// POST /api/quiz-scores: the score of a finished quiz in one of the user's courses.
class QuizScoreRoutes {
public:
    explicit QuizScoreRoutes(ServerContext& context) : context_(context) {}

private:
    friend class Routes; // calls the handlers

    ServerResponse save(const ServerRequest& request, const QString& userId);

    ServerContext& context_;
};
