#pragma once

#include "JsonRecord.h"

struct DocumentDeleteResponse {
    QString status;
    std::optional<QString> message;
    JSON_RECORD(DocumentDeleteResponse, status, message)
};
