#pragma once

#include "GuidedReadingTemplate.h"
#include "JsonRecord.h"

struct GuidedReadingPlan {
    std::optional<QString> planId;
    std::optional<QString> courseId;
    std::optional<QString> userId;
    std::optional<QList<GuidedReadingTemplate>> templates;
    std::optional<QString> generatedAt;
    std::optional<QString> lastUpdated;
    JSON_RECORD(GuidedReadingPlan, planId, courseId, userId, templates, generatedAt, lastUpdated)
};
