#pragma once

#include "JsonRecord.h"

struct GenerateSummaryRequest {
    QString courseId;
    QString documentId;
    JSON_RECORD(GenerateSummaryRequest, courseId, documentId)
};
