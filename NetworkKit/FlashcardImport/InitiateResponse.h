#pragma once

#include "JsonRecord.h"

// uploadUrl is the presigned storage URL for an uploaded file, valid for expiresIn seconds.
struct InitiateResponse {
    QString importId;
    QString s3Key;
    std::optional<QString> uploadUrl;
    std::optional<int> expiresIn;
    JSON_RECORD(InitiateResponse, importId, s3Key, uploadUrl, expiresIn)
};
