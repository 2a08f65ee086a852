#pragma once

#include "JsonRecord.h"

struct DeleteAccountResponse {
    QString status;
    std::optional<QString> message;
    JSON_RECORD(DeleteAccountResponse, status, message)
};
