#pragma once

#include "PageSource.h"
#include "TextRecognizer.h"

#include <QStringList>

#include <functional>
#include <memory>

// How this computer reads syllabus pages: the recognizer and the loader of photo files that the
// app sets at start-up. The sheets' models take them from here; either may be missing, and then
// reading fails with the unavailable line.
class TextRecognizerProvider {
public:
    // The pages of image files, loaded when the recognizer reads them.
    using PhotoPages = std::function<std::shared_ptr<const PageSource>(const QStringList& paths)>;
    // The pages of a PDF, rendered when the recognizer reads them.
    using PdfPages = std::function<std::shared_ptr<const PageSource>(const QString& path)>;

    static inline const QString unavailableMessage =
        QStringLiteral("Text recognition isn't available on this computer.");

    // Keeps the system's recognition installed while it lives. The recognizer owns a thread and
    // Tesseract's data, which must go before the application does, not with the static objects.
    class [[nodiscard]] SystemInstallation {
    public:
        SystemInstallation();
        SystemInstallation(const SystemInstallation&) = delete;
        SystemInstallation& operator=(const SystemInstallation&) = delete;
        ~SystemInstallation();
    };

    static std::shared_ptr<TextRecognizer> shared();
    static void setShared(std::shared_ptr<TextRecognizer> recognizer);
    static PhotoPages photoPages();
    static void setPhotoPages(PhotoPages pages);
    static PdfPages pdfPages();
    static void setPdfPages(PdfPages pages);
};
