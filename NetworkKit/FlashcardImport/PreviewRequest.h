#pragma once

#include "JsonRecord.h"

// Delimiters go out as raw values; one left out is chosen by the backend.
struct PreviewRequest {
    QString importId;
    QString s3Key;
    std::optional<QString> fieldDelimiter;
    std::optional<QString> cardDelimiter;
    JSON_RECORD(PreviewRequest, importId, s3Key, fieldDelimiter, cardDelimiter)
};
