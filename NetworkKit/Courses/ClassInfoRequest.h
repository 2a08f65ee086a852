#pragma once

#include "JsonRecord.h"

struct ClassInfoRequest {
    QString classTitle;
    std::optional<QString> classDescription;
    std::optional<QString> classInstructor;
    std::optional<QString> classDate;
    std::optional<QString> classTime;
    std::optional<QString> classLocation;
    // The weeks of the study plan, one topic each; the backend reads them as "topics".
    std::optional<QStringList> topics;
    JSON_RECORD(ClassInfoRequest, classTitle, classDescription, classInstructor, classDate, classTime,
                classLocation, topics)
};
