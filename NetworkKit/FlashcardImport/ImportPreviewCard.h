#pragma once

#include "JsonRecord.h"

struct ImportPreviewCard {
    QString term;
    QString definition;
    bool flagged = false;
    std::optional<QString> flagReason;
    JSON_RECORD(ImportPreviewCard, term, definition, flagged, flagReason)
};
