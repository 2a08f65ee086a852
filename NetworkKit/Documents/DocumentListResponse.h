#pragma once

#include "DocumentItem.h"
#include "JsonRecord.h"

struct DocumentListResponse {
    QList<DocumentItem> documents;
    int count = 0;
    JSON_RECORD(DocumentListResponse, documents, count)
};
