#include "TextRecognitionBackend.h"

#include "PdfPageSource.h"

#include <QtGlobal>

namespace {

std::unique_ptr<PageReader> makeReader(const TesseractEngine::Settings& settings) {
    return std::make_unique<TesseractEngine>(settings);
}

std::shared_ptr<const PageSource> openPdf(const QString& path, int dpi) {
    return PdfPageSource::open(path, dpi);
}

} // namespace

extern "C" Q_DECL_EXPORT const TextRecognitionBackend* orbeloTextRecognitionBackend() {
    static const TextRecognitionBackend backend{&makeReader, &openPdf};
    return &backend;
}
