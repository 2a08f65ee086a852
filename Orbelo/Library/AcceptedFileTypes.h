#pragma once

#include <QString>
#include <QStringList>

// The kinds of file the library takes: PDF, text (plain and every text format built on it), RTF,
// Word (.doc, .docx) and PowerPoint (.pptx). A file's kind comes from its name's extension.
class AcceptedFileTypes {
public:
    static bool accepts(const QString& fileName);
    // The MIME type announced for the upload: the extension's own type for an accepted file,
    // else "application/octet-stream".
    static QString contentType(const QString& fileName);
    // The file dialog's filters: every accepted kind together first, then each on its own.
    static QStringList nameFilters();
};
