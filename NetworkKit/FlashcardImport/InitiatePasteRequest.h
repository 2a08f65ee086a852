#pragma once

#include "JsonRecord.h"

struct InitiatePasteRequest {
    QString text;
    JSON_RECORD(InitiatePasteRequest, text)
};
