#pragma once

#include "JsonRecord.h"

struct CalendarFeedRevokeResponse {
    std::optional<bool> revoked;
    JSON_RECORD(CalendarFeedRevokeResponse, revoked)
};
