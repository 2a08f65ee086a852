#pragma once

#include "DocumentSummary.h"
#include "JsonRecord.h"

struct DocumentSummaryResponse {
    std::optional<QString> status;
    std::optional<DocumentSummary> summary;
    JSON_RECORD(DocumentSummaryResponse, status, summary)
};
