#pragma once

#include "JsonRecord.h"

// startsAt and endsAt are timestamps as text.
struct StudyEventSummary {
    QString eventKey;
    std::optional<QString> courseId;
    std::optional<QString> kind;
    QString title;
    std::optional<QString> description;
    QString startsAt;
    QString endsAt;
    std::optional<bool> allDay;
    JSON_RECORD(StudyEventSummary, eventKey, courseId, kind, title, description, startsAt, endsAt, allDay)
};
