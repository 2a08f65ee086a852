#pragma once

#include "JsonRecord.h"

struct GRVocabularyTerm {
    QString term;
    QString definition;
    std::optional<QString> context;
    JSON_RECORD(GRVocabularyTerm, term, definition, context)
};
