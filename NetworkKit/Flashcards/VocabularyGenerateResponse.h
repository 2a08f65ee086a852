#pragma once

#include "JsonRecord.h"

struct VocabularyGenerateResponse {
    std::optional<QString> status;
    std::optional<QString> jobId;
    std::optional<QString> message;
    JSON_RECORD(VocabularyGenerateResponse, status, jobId, message)
};
