#pragma once

#include "Http/ServerRequest.h"
#include "Http/ServerResponse.h"

struct ServerContext;

// Starting a bought tutor session: POST /api/gamification/rewards/use/tutor-session spends one use
// of the reward on a course and answers the session (its id, course and 30-minute window). The app
// then runs the session from the course's reading guide, due cards and a short quiz.
class TutorSessionRoutes {
public:
    static constexpr auto rewardType = "tutor_session";
    static constexpr int sessionMinutes = 30;

    explicit TutorSessionRoutes(ServerContext& context) : context_(context) {}

private:
    friend class Routes; // calls the handlers

    ServerResponse start(const ServerRequest& request, const QString& userId);

    ServerContext& context_;
};
