#pragma once

#include "JsonRecord.h"

#include <optional>

struct GenerateSummaryRequest {
    QString courseId;
    QString documentId;
    // True asks for new notes in place of the stored ones; left out for the first notes.
    std::optional<bool> forceRegenerate;
    JSON_RECORD(GenerateSummaryRequest, courseId, documentId, forceRegenerate)
};
