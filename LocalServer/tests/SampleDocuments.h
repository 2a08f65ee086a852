#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// Real documents made in the test: PDFs drawn with QPdfWriter and Office files zipped here.
namespace SampleDocuments {
// A PDF whose pages hold the given paragraphs (one page per entry).
QByteArray pdf(const QStringList& pages, const QString& title = {});
// A ZIP archive; members are deflated when `deflate` is true, else stored.
QByteArray zip(const QList<QPair<QString, QByteArray>>& members, bool deflate);
// A minimal DOCX with one w:p per paragraph.
QByteArray docx(const QStringList& paragraphs);
// A minimal PPTX with one slide per entry (added in reverse order to test slide ordering).
QByteArray pptx(const QStringList& slides);
} // namespace SampleDocuments
