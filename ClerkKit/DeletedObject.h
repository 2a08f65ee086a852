#pragma once

#include "JsonRecord.h"

#include <QString>

// What the Frontend API answers for a deleted resource.
struct DeletedObject {
    std::optional<QString> object;
    std::optional<QString> id;
    std::optional<bool> deleted;
    JSON_RECORD(DeletedObject, object, id, deleted)
};
