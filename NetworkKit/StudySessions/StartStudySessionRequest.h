#pragma once

#include "JsonRecord.h"

// verificationMethod names how the study time was measured.
struct StartStudySessionRequest {
    QString userId;
    std::optional<QString> courseId;
    QString verificationMethod;
    JSON_RECORD(StartStudySessionRequest, userId, courseId, verificationMethod)
};
