#pragma once

#include "JsonRecord.h"

struct DocumentProcessingStatusResponse {
    QString taskId;
    QString status;
    double progress = 0;
    QString currentStep;
    std::optional<QString> updatedAt;
    JSON_RECORD(DocumentProcessingStatusResponse, taskId, status, progress, currentStep, updatedAt)
};
