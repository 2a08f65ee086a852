#pragma once

#include "DocumentNarration.h"
#include "JsonRecord.h"

struct DocumentNarrationJobResponse {
    QString jobId;
    QString status;
    std::optional<DocumentNarration> result;
    std::optional<QString> error;
    JSON_RECORD(DocumentNarrationJobResponse, jobId, status, result, error)
};
