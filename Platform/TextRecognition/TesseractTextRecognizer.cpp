#include "TesseractTextRecognizer.h"
#include "TextRecognitionModule.h"
#include "WorkerThread.h"

#include <atomic>

// The engine, made on the worker thread with the first page: Tesseract's libraries are loaded
// there (TextRecognitionModule), not on the caller's thread, and only by a process that reads.
struct TesseractTextRecognizer::Engine {
    explicit Engine(TesseractEngine::Settings settings) : settings(std::move(settings)) {}

    PageReader& reader() {
        if (!made)
            made = TextRecognitionModule::backend().makeReader(settings);
        return *made;
    }

    const TesseractEngine::Settings settings;
    std::unique_ptr<PageReader> made;
};

struct TesseractTextRecognizer::Worker {
    explicit Worker(TesseractEngine::Settings settings)
        : engine(std::make_shared<Engine>(std::move(settings))) {}

    // Jobs hold the engine, never the Worker: the thread must be joined from outside itself.
    std::shared_ptr<Engine> engine;
    async::WorkerThread thread{QStringLiteral("Text recognition")};
};

namespace {

// Lives in the task's frame: destroying the frame cancels the page in flight.
class CancelOnExit {
public:
    CancelOnExit() = default;
    CancelOnExit(const CancelOnExit&) = delete;
    CancelOnExit& operator=(const CancelOnExit&) = delete;
    ~CancelOnExit() { *flag = true; }

    const std::shared_ptr<std::atomic<bool>> flag = std::make_shared<std::atomic<bool>>(false);
};

} // namespace

TesseractTextRecognizer::TesseractTextRecognizer(TesseractEngine::Settings settings)
    : settings_(std::move(settings)) {}

TesseractTextRecognizer::~TesseractTextRecognizer() = default;

async::Task<QStringList> TesseractTextRecognizer::recognize(std::shared_ptr<const PageSource> pages,
                                                            Progress progress) {
    // The thread starts with the first reading, so an app that never reads a page never has one.
    if (!worker_)
        worker_ = std::make_shared<Worker>(settings_);
    return run(worker_, std::move(pages), std::move(progress));
}

async::Task<QStringList> TesseractTextRecognizer::run(std::shared_ptr<Worker> worker,
                                                      std::shared_ptr<const PageSource> pages,
                                                      Progress progress) {
    CancelOnExit cancel;
    QStringList texts;
    const int pageCount = pages->pageCount();
    for (int index = 0; index < pageCount; ++index) {
        if (progress)
            progress(index + 1, pageCount);
        auto readPage = [engine = worker->engine, pages, index, flag = cancel.flag] {
            if (*flag)
                return QString();
            return engine->reader().read(pages->page(index), *flag).value_or(QString());
        };
        texts.append(co_await worker->thread.run(std::move(readPage)));
    }
    co_return texts;
}

std::unique_ptr<TextRecognizer> makeSystemTextRecognizer() {
    return std::make_unique<TesseractTextRecognizer>();
}
