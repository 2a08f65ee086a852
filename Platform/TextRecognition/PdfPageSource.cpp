#include "PdfPageSource.h"
#include "TextRecognitionError.h"

#include <QFileInfo>
#include <QPainter>
#include <QPdfDocument>

#include <cmath>

namespace {

TextRecognitionError unreadable(const QString& path) {
    return TextRecognitionError(TextRecognitionError::Kind::unreadablePdf,
                                QStringLiteral("“%1” couldn't be opened as a PDF. It may be damaged or "
                                               "password-protected.")
                                    .arg(QFileInfo(path).fileName()));
}

} // namespace

std::shared_ptr<PdfPageSource> PdfPageSource::open(const QString& path, int dpi) {
    QPdfDocument document;
    if (document.load(path) != QPdfDocument::Error::None || document.pageCount() < 1)
        throw unreadable(path);
    return std::shared_ptr<PdfPageSource>(new PdfPageSource(path, dpi, document.pageCount()));
}

QImage PdfPageSource::page(int index) const {
    QPdfDocument document;
    if (document.load(path_) != QPdfDocument::Error::None || index >= document.pageCount())
        throw unreadable(path_);
    const QSizeF points = document.pagePointSize(index);
    const QSize pixels(int(std::lround(points.width() / 72 * dpi_)),
                       int(std::lround(points.height() / 72 * dpi_)));
    const QImage rendered = document.render(index, pixels);
    if (rendered.isNull())
        throw unreadable(path_);
    // Transparent where the page draws nothing: put it on white paper.
    QImage page(rendered.size(), QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter(&page).drawImage(0, 0, rendered);
    return page;
}
