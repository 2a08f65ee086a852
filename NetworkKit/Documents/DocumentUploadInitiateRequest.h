#pragma once

#include "JsonRecord.h"

struct DocumentUploadInitiateRequest {
    QString filename;
    qint64 fileSize = 0;
    std::optional<QString> contentType;
    std::optional<QString> courseId;
    JSON_RECORD(DocumentUploadInitiateRequest, filename, fileSize, contentType, courseId)
};
