#pragma once

#include "DocumentNarration.h"
#include "JsonRecord.h"

// Either a ready playlist or a job to follow.
struct DocumentNarrationSubmitResponse {
    std::optional<QString> jobId;
    std::optional<DocumentNarration> playlist;
    JSON_RECORD(DocumentNarrationSubmitResponse, jobId, playlist)
};
