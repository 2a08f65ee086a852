#pragma once

#include "JsonRecord.h"

struct CommitRequest {
    QString importId;
    QString s3Key;
    std::optional<QString> courseId;
    std::optional<QString> fieldDelimiter;
    std::optional<QString> cardDelimiter;
    bool includeFlagged = false;
    JSON_RECORD(CommitRequest, importId, s3Key, courseId, fieldDelimiter, cardDelimiter, includeFlagged)
};
