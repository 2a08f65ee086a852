#pragma once

#include "JsonRecord.h"

struct ClassInfoResponse {
    std::optional<QString> status;
    std::optional<QString> message;
    std::optional<QString> courseId;
    std::optional<QString> documentId;
    JSON_RECORD(ClassInfoResponse, status, message, courseId, documentId)
};
