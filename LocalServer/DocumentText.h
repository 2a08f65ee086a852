#pragma once

#include <QByteArray>
#include <QString>

// The plain text of an uploaded file: PDF (opened with QtPdf, text read by poppler's pdftotext),
// DOCX and PPTX (ZIP + XML), RTF and plain text.
class DocumentText {
public:
    QString fileType; // "pdf", "docx", "pptx", "rtf", "txt", or empty when unsupported
    QString text;
    QString title; // from the file's own metadata, when it has one
    QString error; // why no text could be read; empty on success

    static DocumentText extract(const QString& path, const QString& filename, const QString& contentType);
    static QString detectType(const QByteArray& head, const QString& filename, const QString& contentType);
    // Text of the paragraphs in an Office Open XML part (w:p / a:p with their t, tab and br).
    static QString officeXmlText(const QByteArray& xml);
};
