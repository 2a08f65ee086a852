#pragma once

#include "JsonPath.h"

#include <QJsonValue>
#include <QString>

#include <optional>

// One course of the library. The backend names a course in several places; the decoder takes the
// first usable candidate.
struct CourseSummary {
    QString courseId;
    std::optional<QString> courseName;
    std::optional<QString> documentId;

    static CourseSummary decodeJson(const QJsonValue& value, const json::Path& path);
};
