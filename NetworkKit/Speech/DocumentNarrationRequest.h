#pragma once

#include "JsonRecord.h"

struct DocumentNarrationRequest {
    std::optional<QString> provider;
    std::optional<QString> voice;
    JSON_RECORD(DocumentNarrationRequest, provider, voice)
};
