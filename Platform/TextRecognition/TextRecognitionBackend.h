#pragma once

#include "PageReader.h"
#include "PageSource.h"
#include "TesseractEngine.h"

#include <memory>

// What reading pages takes from Tesseract, Leptonica and QtPdf. These live in the module
// "orbelo-text-recognition" (TextRecognitionModule), so that a process maps those libraries, and
// the thirty-odd that Tesseract pulls in (curl, TLS, LDAP, image codecs), when it first reads a
// page rather than when it starts.
struct TextRecognitionBackend {
    std::unique_ptr<PageReader> (*makeReader)(const TesseractEngine::Settings& settings);
    // PdfPageSource::open.
    std::shared_ptr<const PageSource> (*openPdf)(const QString& path, int dpi);
};

// The module's one entry point.
extern "C" const TextRecognitionBackend* orbeloTextRecognitionBackend();
