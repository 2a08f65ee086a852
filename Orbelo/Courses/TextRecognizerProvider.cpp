#include "Courses/TextRecognizerProvider.h"

#include "ImageFilePageSource.h"
#include "PdfPageSource.h"
#include "TextRecognitionModule.h"

namespace {

// Set once on the main thread at start-up, read there by the models.
std::shared_ptr<TextRecognizer>& recognizer() {
    static std::shared_ptr<TextRecognizer> shared;
    return shared;
}

TextRecognizerProvider::PhotoPages& photoLoader() {
    static TextRecognizerProvider::PhotoPages loader;
    return loader;
}

TextRecognizerProvider::PdfPages& pdfLoader() {
    static TextRecognizerProvider::PdfPages loader;
    return loader;
}

} // namespace

std::shared_ptr<TextRecognizer> TextRecognizerProvider::shared() {
    return recognizer();
}

void TextRecognizerProvider::setShared(std::shared_ptr<TextRecognizer> value) {
    recognizer() = std::move(value);
}

TextRecognizerProvider::PhotoPages TextRecognizerProvider::photoPages() {
    return photoLoader();
}

void TextRecognizerProvider::setPhotoPages(PhotoPages pages) {
    photoLoader() = std::move(pages);
}

TextRecognizerProvider::PdfPages TextRecognizerProvider::pdfPages() {
    return pdfLoader();
}

void TextRecognizerProvider::setPdfPages(PdfPages pages) {
    pdfLoader() = std::move(pages);
}

TextRecognizerProvider::SystemInstallation::SystemInstallation() {
    setShared(makeSystemTextRecognizer());
    setPhotoPages([](const QStringList& paths) { return std::make_shared<ImageFilePageSource>(paths); });
    // The module loads here, on the first PDF to count its pages, if no page was read before.
    setPdfPages([](const QString& path) {
        return TextRecognitionModule::backend().openPdf(path, PdfPageSource::defaultDpi);
    });
}

TextRecognizerProvider::SystemInstallation::~SystemInstallation() {
    setShared(nullptr);
    setPhotoPages({});
    setPdfPages({});
}
