#pragma once

#include <QByteArray>
#include <QString>

// The plain text of an uploaded file: PDF (opened with QtPdf, text read by poppler's pdftotext),
// DOCX and PPTX (ZIP + XML), RTF and plain text. Whatever the format, the text stops at
// maxTextChars; a longer text is cut there and marked truncated, which is not a failure.
class DocumentText {
public:
    static constexpr qsizetype maxTextChars = 2 * 1024 * 1024; // UTF-16 code units
    static constexpr int maxPdfPages = 2000;
    // Bytes of UTF-8 read from a plain text file or from pdftotext (up to 4 bytes a character).
    static constexpr qsizetype maxTextBytes = 4 * maxTextChars;

    QString fileType; // "pdf", "docx", "pptx", "rtf", "txt", or empty when unsupported
    QString text;
    QString title;          // from the file's own metadata, when it has one
    QString error;          // why no text could be read; empty on success
    bool truncated = false; // the document holds more text, or more pages, than was read

    static DocumentText extract(const QString& path, const QString& filename, const QString& contentType);
    static QString detectType(const QByteArray& head, const QString& filename, const QString& contentType);
    // Text of the paragraphs in an Office Open XML part (w:p / a:p with their t, tab and br),
    // read until it passes maxChars.
    static QString officeXmlText(const QByteArray& xml, qsizetype maxChars = maxTextChars);
};
