#pragma once

#include "JsonRecord.h"

struct SaveQuizScoreResponse {
    std::optional<QString> status;
    std::optional<QString> message;
    std::optional<QString> scoreId;
    std::optional<double> updatedProficiency;
    JSON_RECORD(SaveQuizScoreResponse, status, message, scoreId, updatedProficiency)
};
