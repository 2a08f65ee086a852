#pragma once

#include "JsonRecord.h"

struct StudyPlanGenerationResponse {
    std::optional<QString> status;
    std::optional<QString> message;
    JSON_RECORD(StudyPlanGenerationResponse, status, message)
};
