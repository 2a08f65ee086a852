#pragma once

#include "JsonRecord.h"

// The stored syllabus text; when the text was a syllabus, status "success" and the new course.
struct SyllabusTextJobResult {
    std::optional<QString> documentId;
    std::optional<int> chunkCount;
    std::optional<QString> source;
    std::optional<QString> status;
    std::optional<QString> message;
    std::optional<QString> courseId;
    std::optional<QString> courseName;
    JSON_RECORD(SyllabusTextJobResult, documentId, chunkCount, source, status, message, courseId, courseName)
};
