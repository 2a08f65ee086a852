#pragma once

#include "DocumentKeyTerm.h"
#include "JsonRecord.h"

struct DocumentSummary {
    std::optional<QString> summaryText;
    std::optional<QList<QString>> keyConcepts;
    std::optional<QList<DocumentKeyTerm>> keyTerms;
    std::optional<QString> domain;
    std::optional<QString> documentType;
    std::optional<QString> generatedAt;
    JSON_RECORD(DocumentSummary, summaryText, keyConcepts, keyTerms, domain, documentType, generatedAt)
};
