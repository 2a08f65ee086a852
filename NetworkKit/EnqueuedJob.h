#pragma once

#include "JsonRecord.h"

// A generation that the backend has queued instead of answering at once.
struct EnqueuedJob {
    QString jobId;
    QString status;
    QString jobType;
    JSON_RECORD(EnqueuedJob, jobId, status, jobType)
    bool operator==(const EnqueuedJob&) const = default;
};
