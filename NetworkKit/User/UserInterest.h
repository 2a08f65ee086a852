#pragma once

#include "JsonRecord.h"

// One interest category with the items chosen in it.
struct UserInterest {
    QString category;
    QList<QString> items;
    JSON_RECORD(UserInterest, category, items)
};
