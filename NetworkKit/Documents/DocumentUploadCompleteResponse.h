#pragma once

#include "JsonRecord.h"

struct DocumentUploadCompleteResponse {
    std::optional<QString> jobId;
    std::optional<QString> status;
    std::optional<QString> jobType;
    std::optional<QString> documentId;
    JSON_RECORD(DocumentUploadCompleteResponse, jobId, status, jobType, documentId)
};
