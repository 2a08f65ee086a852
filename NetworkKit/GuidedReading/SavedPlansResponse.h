#pragma once

#include "JsonRecord.h"
#include "SavedPlanSummary.h"

struct SavedPlansResponse {
    std::optional<QList<SavedPlanSummary>> plans;
    JSON_RECORD(SavedPlansResponse, plans)
};
