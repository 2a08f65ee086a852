#pragma once

#include "JsonRecord.h"

struct DocumentUploadResponse {
    QString id;
    QString status;
    std::optional<QString> message;
    std::optional<QString> filename;
    std::optional<QString> documentId;
    std::optional<QString> documentType;
    std::optional<int> chunkCount;
    std::optional<double> processingTimeSeconds;
    JSON_RECORD(DocumentUploadResponse, id, status, message, filename, documentId, documentType, chunkCount,
                processingTimeSeconds)
};
