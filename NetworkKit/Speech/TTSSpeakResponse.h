#pragma once

#include "JsonRecord.h"

struct TTSSpeakResponse {
    QString url;
    std::optional<bool> cached;
    std::optional<qint64> sizeBytes;
    std::optional<int> durationMs;
    JSON_RECORD(TTSSpeakResponse, url, cached, sizeBytes, durationMs)
};
