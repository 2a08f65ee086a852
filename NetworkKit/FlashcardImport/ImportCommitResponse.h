#pragma once

#include "JsonRecord.h"

// alreadyImported is true when this import had been committed before.
struct ImportCommitResponse {
    QString importId;
    int imported = 0;
    int flagged = 0;
    int skipped = 0;
    bool alreadyImported = false;
    JSON_RECORD(ImportCommitResponse, importId, imported, flagged, skipped, alreadyImported)
};
