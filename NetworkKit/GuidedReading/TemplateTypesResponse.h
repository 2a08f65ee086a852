#pragma once

#include "JsonRecord.h"

struct TemplateTypesResponse {
    std::optional<QList<QString>> templateTypes;
    JSON_RECORD(TemplateTypesResponse, templateTypes)
};
