#pragma once

#include "DocumentNarration.h"
#include "JsonRecord.h"

struct DocumentNarrationJob {
    QString jobId;
    QString status;
    std::optional<DocumentNarration> result;
    std::optional<QString> error;
    JSON_RECORD(DocumentNarrationJob, jobId, status, result, error)
};
