#pragma once

#include "JsonRecord.h"

struct ClassInfoRequest {
    QString classTitle;
    std::optional<QString> classDescription;
    std::optional<QString> classInstructor;
    std::optional<QString> classDate;
    std::optional<QString> classTime;
    std::optional<QString> classLocation;
    JSON_RECORD(ClassInfoRequest, classTitle, classDescription, classInstructor, classDate, classTime,
                classLocation)
};
