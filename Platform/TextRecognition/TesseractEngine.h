#pragma once

#include "PageImageCleaner.h"
#include "PageReader.h"

#include <QImage>
#include <QString>

#include <atomic>
#include <memory>
#include <optional>

namespace tesseract {
class TessBaseAPI;
}

// One Tesseract instance reading English pages. Not thread-safe: one thread at a time, which for
// TesseractTextRecognizer is always its worker thread. The engine starts on the first page.
class TesseractEngine : public PageReader {
public:
    struct Settings {
        // Tesseract's tessdata folder; empty for the system's (/usr/share/tesseract-ocr/5/tessdata).
        QString dataPath;
        PageImageCleaner::Steps cleaning;
    };

    explicit TesseractEngine(Settings settings);
    ~TesseractEngine() override;

    // The page's text, or nothing when `cancelled` became true before or while it was read (the
    // flag is polled between words). Throws TextRecognitionError(engineUnavailable) when the
    // engine cannot start.
    std::optional<QString> read(const QImage& page, const std::atomic<bool>& cancelled) override;

private:
    void start();

    Settings settings_;
    PageImageCleaner cleaner_;
    std::unique_ptr<tesseract::TessBaseAPI> api_;
};
