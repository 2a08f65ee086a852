#pragma once

#include "JsonRecord.h"

struct MarkReadResponse {
    std::optional<QString> message;
    JSON_RECORD(MarkReadResponse, message)
};
