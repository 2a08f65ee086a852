#include "PageImageCleaner.h"

#include <leptonica/allheaders.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>

namespace {

struct PixDeleter {
    void operator()(Pix* pix) const { pixDestroy(&pix); }
};
using PixPtr = std::unique_ptr<Pix, PixDeleter>;

// Leptonica keeps pixels in 32-bit words, most significant byte first; Qt keeps bytes in order.
PixPtr toPix(const QImage& gray) {
    PixPtr pix(pixCreate(gray.width(), gray.height(), 8));
    auto* data = reinterpret_cast<uchar*>(pixGetData(pix.get()));
    const int stride = pixGetWpl(pix.get()) * 4;
    for (int y = 0; y < gray.height(); ++y)
        std::memcpy(data + y * stride, gray.constScanLine(y), gray.width());
    pixEndianByteSwap(pix.get());
    return pix;
}

QImage toImage(Pix* pix8) {
    PixPtr copy(pixCopy(nullptr, pix8));
    pixEndianByteSwap(copy.get());
    QImage image(pixGetWidth(copy.get()), pixGetHeight(copy.get()), QImage::Format_Grayscale8);
    const auto* data = reinterpret_cast<const uchar*>(pixGetData(copy.get()));
    const int stride = pixGetWpl(copy.get()) * 4;
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(image.scanLine(y), data + y * stride, image.width());
    return image;
}

QImage atWorkingSize(const QImage& gray) {
    const int longSide = std::max(gray.width(), gray.height());
    if (longSide > PageImageCleaner::workingLongSide * 6 / 5 ||
        longSide < PageImageCleaner::workingLongSide / 2)
        return gray.scaled(gray.size().scaled(PageImageCleaner::workingLongSide,
                                              PageImageCleaner::workingLongSide, Qt::KeepAspectRatio),
                           Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return gray;
}

// Local thresholds (Sauvola) over windows of about a line of text, in tiles that keep memory small.
PixPtr binarised(Pix* gray) {
    Pix* out = nullptr;
    const int window = std::max(8, pixGetWidth(gray) / 100);
    const int tiles = std::max(1, pixGetWidth(gray) / 1000);
    if (pixSauvolaBinarizeTiled(gray, window, 0.34f, tiles, tiles, nullptr, &out) != 0)
        return nullptr;
    return PixPtr(out);
}

// The deskew angle in degrees, searched over ±7° on the black-and-white page.
double findSkew(Pix* binary) {
    l_float32 angle = 0;
    l_float32 confidence = 0;
    if (pixFindSkew(binary, &angle, &confidence) != 0 || confidence < 3.0f)
        return 0;
    return angle;
}

PixPtr rotatedBy(Pix* pix, double degrees) {
    return PixPtr(
        pixRotate(pix, float(degrees * std::numbers::pi / 180), L_ROTATE_AREA_MAP, L_BRING_IN_WHITE, 0, 0));
}

} // namespace

QImage PageImageCleaner::clean(const QImage& page) const {
    if (page.isNull())
        return {};
    PixPtr gray = toPix(atWorkingSize(page.convertToFormat(QImage::Format_Grayscale8)));
    if (!steps_.deskew && !steps_.binarise)
        return toImage(gray.get());
    // Skew is measured on black and white; the grey page is turned, as turning a black-and-white
    // page frays its letters, and thresholded again.
    PixPtr binary = binarised(gray.get());
    if (steps_.deskew && binary) {
        if (const double angle = findSkew(binary.get()); std::abs(angle) >= 0.1) {
            if (PixPtr level = rotatedBy(gray.get(), angle)) {
                gray = std::move(level);
                binary = steps_.binarise ? binarised(gray.get()) : nullptr;
            }
        }
    }
    if (steps_.binarise && binary)
        return toImage(PixPtr(pixConvert1To8(nullptr, binary.get(), 255, 0)).get());
    return toImage(gray.get());
}

double PageImageCleaner::skewAngle(const QImage& page) {
    PixPtr gray = toPix(atWorkingSize(page.convertToFormat(QImage::Format_Grayscale8)));
    PixPtr binary = binarised(gray.get());
    return binary ? findSkew(binary.get()) : 0;
}
