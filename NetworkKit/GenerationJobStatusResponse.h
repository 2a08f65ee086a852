#pragma once

#include "GenerationJobStatus.h"
#include "JsonRecord.h"

template <class T> struct GenerationJobStatusResponse {
    QString jobId;
    QString userId;
    QString jobType;
    GenerationJobStatus status = GenerationJobStatus::queued;
    QString createdAt;
    std::optional<QString> startedAt;
    std::optional<QString> completedAt;
    std::optional<T> result;
    std::optional<QString> error;
    JSON_RECORD(GenerationJobStatusResponse, jobId, userId, jobType, status, createdAt, startedAt,
                completedAt, result, error)
};
