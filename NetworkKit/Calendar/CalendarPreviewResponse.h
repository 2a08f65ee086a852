#pragma once

#include "CalendarPreviewCounts.h"
#include "JsonRecord.h"
#include "StudyEventSummary.h"

struct CalendarPreviewResponse {
    std::optional<QString> timezone;
    std::optional<QString> timezoneSource;
    std::optional<CalendarPreviewCounts> counts;
    std::optional<QList<StudyEventSummary>> events;
    std::optional<bool> previewTier;
    JSON_RECORD(CalendarPreviewResponse, timezone, timezoneSource, counts, events, previewTier)
};
