#pragma once

#include <QByteArray>
#include <QString>

// The text of an exported deck, decoded from the bytes a student pasted or uploaded: UTF-8 (with
// or without its byte order mark), UTF-16 with a byte order mark (or plainly ASCII in UTF-16
// without one), else Latin-1. Line ends become \n. Files that are not text at all (a PDF, an
// image, a spreadsheet) are refused with a message for the student.
class DeckText {
public:
    QString text;
    // "UTF-8", "UTF-16LE", "UTF-16BE" or "ISO-8859-1".
    QString encoding;
    // Why the bytes were refused; empty when they were read.
    QString error;

    static DeckText decode(const QByteArray& bytes);
};
