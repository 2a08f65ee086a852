#pragma once

#include "JsonRecord.h"

// The two published addresses of the user's feed (webcal and https), with a note to show beside them.
struct CalendarFeedResponse {
    QString webcalUrl;
    QString httpsUrl;
    std::optional<QString> refreshNote;
    JSON_RECORD(CalendarFeedResponse, webcalUrl, httpsUrl, refreshNote)
};
