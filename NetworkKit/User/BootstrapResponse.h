#pragma once

#include "Courses/CourseSummary.h"
#include "Documents/DocumentItem.h"
#include "JsonRecord.h"

// What a screen loads on opening: the user's courses and documents. documentsCount is the
// backend's total and may exceed the number of documents listed.
struct BootstrapResponse {
    QList<CourseSummary> courses;
    QList<DocumentItem> documents;
    std::optional<int> documentsCount;
    JSON_RECORD(BootstrapResponse, courses, documents, documentsCount)
};
