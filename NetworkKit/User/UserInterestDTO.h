#pragma once

#include "JsonRecord.h"

// One interest category with the items chosen in it.
struct UserInterestDTO {
    QString category;
    QList<QString> items;
    JSON_RECORD(UserInterestDTO, category, items)
};
