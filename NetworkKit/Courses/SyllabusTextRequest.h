#pragma once

#include "JsonRecord.h"

// Syllabus text read on the device; source tells how it was read, filename names the material.
struct SyllabusTextRequest {
    QString documentContent;
    QString source;
    std::optional<QString> filename;
    JSON_RECORD(SyllabusTextRequest, documentContent, source, filename)
};
