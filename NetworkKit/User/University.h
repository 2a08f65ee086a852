#pragma once

#include "JsonRecord.h"

struct University {
    QString id;
    QString name;
    std::optional<QString> shortName;
    std::optional<QString> state;
    std::optional<QString> city;
    std::optional<QString> institutionType;
    JSON_RECORD(University, id, name, shortName, state, city, institutionType)
};
