#pragma once

#include "TesseractEngine.h"
#include "TextRecognizer.h"

#include <memory>

// Reads pages with Tesseract (English) on a worker thread of its own, one page at a time: each page
// is loaded from its source, cleaned up (PageImageCleaner) and read there by the engine of the
// text recognition module (TextRecognitionModule, loaded with the first page), and the task resumes on
// the caller's thread between pages to report progress. Jobs from several callers queue on the one
// thread. A page with nothing to read gives an empty text.
//
// Ending a task sets its cancel flag: the page being read stops at the next word Tesseract
// recognises (its layout pass, a fraction of a second, runs to its end), and no further page is
// loaded. The page source may therefore be released last on the worker thread. The recognizer may
// be destroyed while tasks still run; they keep its thread until they end, and the last of them
// joins it on the caller's thread.
//
// Errors, from the task: the source's TextRecognitionError for a page that can't be loaded, and
// engineUnavailable when the module or the language data is missing (tried again on the next
// task).
class TesseractTextRecognizer : public TextRecognizer {
public:
    explicit TesseractTextRecognizer(TesseractEngine::Settings settings = {});
    ~TesseractTextRecognizer() override;

    async::Task<QStringList> recognize(std::shared_ptr<const PageSource> pages, Progress progress) override;

private:
    struct Engine;
    struct Worker;
    static async::Task<QStringList> run(std::shared_ptr<Worker> worker,
                                        std::shared_ptr<const PageSource> pages, Progress progress);

    TesseractEngine::Settings settings_;
    std::shared_ptr<Worker> worker_;
};
