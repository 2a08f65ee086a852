#pragma once

#include "PageSource.h"

#include <QStringList>

// Photos of pages on disk (PNG, JPEG, WebP, TIFF, HEIC where Qt can read it). Each is decoded when
// its page is asked for, on the caller's (the recognition) thread, turned upright by its EXIF
// orientation, and decoded straight to the working size when it is a large camera photo. page()
// throws TextRecognitionError(unreadableImage) for a file that is not an image, an image under
// 32 pixels on a side, or one so large (over 200 megapixels) that it is taken for a decompression bomb.
class ImageFilePageSource : public PageSource {
public:
    explicit ImageFilePageSource(QStringList paths) : paths_(std::move(paths)) {}
    int pageCount() const override { return int(paths_.size()); }
    QImage page(int index) const override;

private:
    const QStringList paths_;
};
