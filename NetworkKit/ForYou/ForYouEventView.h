#pragma once

#include "JsonRecord.h"

struct ForYouEventView {
    std::optional<QString> eventId;
    std::optional<QString> eventType;
    JSON_RECORD(ForYouEventView, eventId, eventType)
};
