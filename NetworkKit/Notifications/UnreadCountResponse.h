#pragma once

#include "JsonRecord.h"

struct UnreadCountResponse {
    int count = 0;
    JSON_RECORD(UnreadCountResponse, count)
};
