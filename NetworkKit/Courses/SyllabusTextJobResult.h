#pragma once

#include "JsonRecord.h"

struct SyllabusTextJobResult {
    std::optional<QString> documentId;
    std::optional<int> chunkCount;
    std::optional<QString> source;
    JSON_RECORD(SyllabusTextJobResult, documentId, chunkCount, source)
};
