#pragma once

#include "JsonRecord.h"

// The body of POST /api/gamification/rewards/use/tutor-session.
struct UseTutorSessionRequest {
    QString userId;
    QString userRewardId;
    QString courseId;
    JSON_RECORD(UseTutorSessionRequest, userId, userRewardId, courseId)
};

// The server's answer: the session started on one use of the reward.
struct TutorSessionStart {
    std::optional<bool> success;
    QString sessionId;
    QString courseId;
    std::optional<QString> courseName;
    std::optional<QString> startedAt;
    std::optional<QString> endsAt;
    int durationMinutes = 30;
    std::optional<int> remainingUses;
    JSON_RECORD(TutorSessionStart, success, sessionId, courseId, courseName, startedAt, endsAt,
                durationMinutes, remainingUses)
};
