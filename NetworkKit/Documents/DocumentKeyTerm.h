#pragma once

#include "JsonRecord.h"

struct DocumentKeyTerm {
    QString term;
    QString definition;
    JSON_RECORD(DocumentKeyTerm, term, definition)
};
