#pragma once

#include "JsonRecord.h"

struct ForYouEventResponse {
    std::optional<QString> eventId;
    std::optional<QString> eventType;
    JSON_RECORD(ForYouEventResponse, eventId, eventType)
};
