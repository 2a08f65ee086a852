#pragma once

#include "JsonRecord.h"
#include "SyllabusInfoRequest.h"

struct StudyPlanGenerationRequest {
    QString courseId;
    SyllabusInfoRequest syllabusInfo;
    JSON_RECORD(StudyPlanGenerationRequest, courseId, syllabusInfo)
};
