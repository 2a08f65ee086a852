#pragma once

#include "JsonRecord.h"

struct SavedPlanSummary {
    QString templateType;
    std::optional<QString> generatedAt;
    JSON_RECORD(SavedPlanSummary, templateType, generatedAt)
};
