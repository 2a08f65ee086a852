#pragma once

#include "JsonRecord.h"

struct SyllabusInfoRequest {
    QString courseName;
    std::optional<QString> courseCode;
    std::optional<QString> instructor;
    std::optional<QString> meetingTimes;
    std::optional<QString> courseDescription;
    std::optional<QList<QString>> learningObjectives;
    JSON_RECORD(SyllabusInfoRequest, courseName, courseCode, instructor, meetingTimes, courseDescription,
                learningObjectives)
};
