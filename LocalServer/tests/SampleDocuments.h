#pragma once

#include "Documents/DocumentText.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Real documents made in the test: PDFs drawn with QPdfWriter and Office files zipped here.
namespace SampleDocuments {
// A PDF whose pages hold the given paragraphs (one page per entry).
QByteArray pdf(const QStringList& pages, const QString& title = {});
// `pdf` encrypted by qpdf with AES-256 under a user password, so that opening it needs the password.
QByteArray encryptedPdf(const QByteArray& pdf);
// A ZIP archive; members are deflated when `deflate` is true, else stored.
QByteArray zip(const QList<QPair<QString, QByteArray>>& members, bool deflate);
// A minimal DOCX with one w:p per paragraph.
QByteArray docx(const QStringList& paragraphs);
// A minimal PPTX with one slide per entry (added in reverse order to test slide ordering).
QByteArray pptx(const QStringList& slides);
// The text of `bytes` saved in `dir` as `filename`, as the server's reader extracts it.
DocumentText extracted(const QTemporaryDir& dir, const QByteArray& bytes, const QString& filename,
                       const QString& contentType = {});
} // namespace SampleDocuments
