#pragma once

#include "JsonRecord.h"

struct CalendarPreviewCounts {
    std::optional<int> total;
    std::optional<int> skippedFinished;
    std::optional<int> courses;
    std::optional<int> studyBlocks;
    std::optional<int> planWeeks;
    std::optional<int> locked;
    JSON_RECORD(CalendarPreviewCounts, total, skippedFinished, courses, studyBlocks, planWeeks, locked)
};
