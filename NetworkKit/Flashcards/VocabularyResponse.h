#pragma once

#include "JsonRecord.h"
#include "VocabularyTerm.h"

struct VocabularyResponse {
    std::optional<QString> status;
    QList<VocabularyTerm> vocabulary;
    std::optional<int> count;
    JSON_RECORD(VocabularyResponse, status, vocabulary, count)
};
