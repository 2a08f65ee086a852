#pragma once

#include "PageSource.h"

#include <QString>

#include <memory>

// The pages of a PDF as images, for PDFs that hold only page pictures (scans). Each page is
// rendered when it is asked for, so a long PDF is never held in memory as images. QPdfDocument is
// a QObject tied to its thread, so every call opens its own document on the calling thread; for
// a syllabus-sized PDF that costs milliseconds beside the seconds a page takes to read.
class PdfPageSource : public PageSource {
public:
    // 150, 200 and 300 DPI all read 11-point print without a fault, at 1.3, 1.6 and 2.2 s a page
    // (README, "Reading syllabus pages"); at 150 DPI 9-point footnotes fall under the 10-pixel
    // x-height below which Tesseract's accuracy drops, at 200 they stay above it.
    static constexpr int defaultDpi = 200;

    // Opens the PDF on the calling thread to count its pages. Throws
    // TextRecognitionError(unreadablePdf) when it is damaged, not a PDF or password-protected.
    static std::shared_ptr<PdfPageSource> open(const QString& path, int dpi = defaultDpi);

    int pageCount() const override { return pageCount_; }
    // A white page at the chosen resolution. Throws unreadablePdf when the file no longer opens.
    QImage page(int index) const override;

private:
    PdfPageSource(QString path, int dpi, int pageCount)
        : path_(std::move(path)), dpi_(dpi), pageCount_(pageCount) {}

    const QString path_;
    const int dpi_;
    const int pageCount_;
};
