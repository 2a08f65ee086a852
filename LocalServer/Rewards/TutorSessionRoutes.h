#pragma once

#include "Auth/ApiAuth.h"
#include "Http/Router.h"

struct ServerContext;

// Starting a bought tutor session: POST /api/gamification/rewards/use/tutor-session spends one use
// of the reward on a course and answers the session (its id, course and 30-minute window). The app
// then runs the session from the course's reading guide, due cards and a short quiz.
class TutorSessionRoutes {
public:
    static constexpr auto rewardType = "tutor_session";
    static constexpr int sessionMinutes = 30;

    explicit TutorSessionRoutes(ServerContext& context) : context_(context), auth_(context) {}

    void registerRoutes(Router& router);

private:
    ServerResponse start(const ServerRequest& request, const QString& userId);

    ServerContext& context_;
    ApiAuth auth_;
};
