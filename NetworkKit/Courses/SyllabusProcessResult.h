#pragma once

#include "JsonRecord.h"
#include "SyllabusClassInfo.h"

struct SyllabusProcessResult {
    std::optional<QString> status;
    std::optional<QString> message;
    std::optional<SyllabusClassInfo> extractedData;
    JSON_RECORD(SyllabusProcessResult, status, message, extractedData)
};
