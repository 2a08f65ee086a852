#pragma once

#include "Documents/DocumentItem.h"

#include <QString>

// How the library names, finds and marks a document.
class DocumentText {
public:
    // The title when it is not empty, else the filename.
    static QString displayName(const DocumentItem& document);
    // An empty text matches everything; otherwise the display name, then the filename, must
    // contain it, ignoring case.
    static bool matches(const DocumentItem& document, const QString& searchText);
    // The symbol for the document's type: syllabus, lecture, reading and book have their own.
    static QString typeSymbol(const DocumentItem& document);
};
