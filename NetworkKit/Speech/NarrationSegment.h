#pragma once

#include "JsonRecord.h"

struct NarrationSegment {
    int index = 0;
    QString url;
    std::optional<int> durationMs;
    std::optional<int> charCount;
    JSON_RECORD(NarrationSegment, index, url, durationMs, charCount)
};
