#pragma once

#include "JsonRecord.h"

struct StudySessionResponse {
    QString sessionId;
    std::optional<int> durationMinutes;
    JSON_RECORD(StudySessionResponse, sessionId, durationMinutes)
};
