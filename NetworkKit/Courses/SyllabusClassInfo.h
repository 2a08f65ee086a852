#pragma once

#include "JsonRecord.h"

struct SyllabusClassInfo {
    std::optional<QString> classTitle;
    std::optional<QString> classDescription;
    std::optional<QString> classInstructor;
    std::optional<QString> classDate;
    std::optional<QString> classTime;
    std::optional<QString> classLocation;
    JSON_RECORD(SyllabusClassInfo, classTitle, classDescription, classInstructor, classDate, classTime,
                classLocation)
};
