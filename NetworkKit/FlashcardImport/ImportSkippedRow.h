#pragma once

#include "JsonRecord.h"

// lineNumber is the row's line in the source text; preview is its text for display.
struct ImportSkippedRow {
    int lineNumber = 0;
    QString reason;
    QString preview;
    JSON_RECORD(ImportSkippedRow, lineNumber, reason, preview)
};
