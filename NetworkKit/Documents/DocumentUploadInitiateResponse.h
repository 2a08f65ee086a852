#pragma once

#include "JsonRecord.h"

// expiresIn is how many seconds presignedUrl accepts the upload.
struct DocumentUploadInitiateResponse {
    QString presignedUrl;
    QString documentId;
    QString s3Key;
    int expiresIn = 0;
    JSON_RECORD(DocumentUploadInitiateResponse, presignedUrl, documentId, s3Key, expiresIn)
};
