#pragma once

#include "JsonRecord.h"

struct EndStudySessionRequest {
    QString userId;
    QString sessionId;
    std::optional<QString> notes;
    std::optional<int> activeSeconds;
    JSON_RECORD(EndStudySessionRequest, userId, sessionId, notes, activeSeconds)
};
