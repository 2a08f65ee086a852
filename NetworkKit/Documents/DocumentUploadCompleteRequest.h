#pragma once

#include "JsonRecord.h"

// skipSyllabusExtraction is always sent.
struct DocumentUploadCompleteRequest {
    QString documentId;
    QString s3Key;
    std::optional<QString> originalFilename;
    std::optional<QString> courseId;
    bool skipSyllabusExtraction = false;
    JSON_RECORD(DocumentUploadCompleteRequest, documentId, s3Key, originalFilename, courseId,
                skipSyllabusExtraction)
};
