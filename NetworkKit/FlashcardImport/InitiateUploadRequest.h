#pragma once

#include "JsonRecord.h"

struct InitiateUploadRequest {
    QString filename;
    QString contentType;
    qint64 sizeBytes = 0;
    JSON_RECORD(InitiateUploadRequest, filename, contentType, sizeBytes)
};
