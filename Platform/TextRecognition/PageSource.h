#pragma once

#include <QImage>

// The pages of one piece of material to be read: photos, webcam captures or a PDF's pages.
// page() is called on the recognition thread, one page at a time, so a long document is never
// held in memory whole; implementations must allow that call from a thread other than their own.
class PageSource {
public:
    virtual ~PageSource() = default;
    virtual int pageCount() const = 0;
    // The page at index (0-based). Throws TextRecognitionError when it cannot be made.
    virtual QImage page(int index) const = 0;
};
