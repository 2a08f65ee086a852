#pragma once

#include "Clock.h"
#include "TextRecognitionError.h"
#include "TextRecognizer.h"

#include <optional>

// A recognizer for model tests: answers the scripted texts (or error) after reporting each page,
// reading the pages themselves so that a source's own errors still surface. With a page time, each
// page takes that long on the injected clock, so a test can cancel between pages.
class FakeTextRecognizer : public TextRecognizer {
public:
    QStringList texts;
    std::optional<TextRecognitionError> error;
    int calls = 0;
    std::chrono::milliseconds pageTime{0};

    async::Task<QStringList> recognize(std::shared_ptr<const PageSource> pages, Progress progress) override {
        return run(this, std::move(pages), std::move(progress));
    }

private:
    static async::Task<QStringList> run(FakeTextRecognizer* self, std::shared_ptr<const PageSource> pages,
                                        Progress progress) {
        ++self->calls;
        QStringList result;
        for (int i = 0; i < pages->pageCount(); ++i) {
            if (progress)
                progress(i + 1, pages->pageCount());
            if (self->pageTime.count() > 0)
                co_await async::Clock::current().sleep(self->pageTime);
            pages->page(i);
            result.append(self->texts.value(i));
        }
        if (self->error)
            throw *self->error;
        co_return result;
    }
};
