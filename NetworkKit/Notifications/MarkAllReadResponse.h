#pragma once

#include "JsonRecord.h"

struct MarkAllReadResponse {
    std::optional<QString> message;
    int count = 0;
    JSON_RECORD(MarkAllReadResponse, message, count)
};
