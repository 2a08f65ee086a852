#pragma once

#include <QImage>
#include <QString>

#include <atomic>
#include <optional>

// Reads the text of one page image at a time (TesseractEngine). Not thread-safe: one thread at a
// time.
class PageReader {
public:
    virtual ~PageReader() = default;
    // The page's text, or nothing when `cancelled` became true before or while it was read.
    // Throws TextRecognitionError(engineUnavailable) when the engine cannot start.
    virtual std::optional<QString> read(const QImage& page, const std::atomic<bool>& cancelled) = 0;
};
