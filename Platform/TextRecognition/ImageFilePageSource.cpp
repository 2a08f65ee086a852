#include "ImageFilePageSource.h"
#include "PageImageCleaner.h"
#include "TextRecognitionError.h"

#include <QFileInfo>
#include <QImageReader>

namespace {

constexpr int smallestSide = 32;
constexpr qint64 largestPixelCount = 200'000'000;
// The decoded image may not exceed this, whatever its header claims: a working-size page at
// 32 bits per pixel is about 35 MB.
constexpr int allocationLimitMB = 256;

bool usable(QSize size) {
    return size.width() >= smallestSide && size.height() >= smallestSide &&
           qint64(size.width()) * size.height() <= largestPixelCount;
}

TextRecognitionError unreadable(const QString& path) {
    return TextRecognitionError(
        TextRecognitionError::Kind::unreadableImage,
        QStringLiteral("“%1” isn't a photo we can read.").arg(QFileInfo(path).fileName()));
}

} // namespace

QImage ImageFilePageSource::page(int index) const {
    const QString& path = paths_.at(index);
    QImageReader reader(path);
    reader.setAutoTransform(true);
    reader.setAllocationLimit(allocationLimitMB);
    // The header's size, checked before anything is decoded; some formats only know it afterwards.
    const QSize size = reader.size();
    if (size.isValid() && !usable(size))
        throw unreadable(path);
    // Decoders such as JPEG's can decode straight to a smaller size, which saves both time and memory.
    const int longSide = std::max(size.width(), size.height());
    if (size.isValid() && longSide > PageImageCleaner::workingLongSide &&
        reader.supportsOption(QImageIOHandler::ScaledSize))
        reader.setScaledSize(size.scaled(PageImageCleaner::workingLongSide, PageImageCleaner::workingLongSide,
                                         Qt::KeepAspectRatio));
    const QImage image = reader.read();
    if (image.isNull() || !usable(image.size()))
        throw unreadable(path);
    return image;
}
