#pragma once

// moc and the coroutine header: a Qt header first.
#include <QStringList>

#include "PageSource.h"
#include "Task.h"

#include <functional>
#include <memory>

// Reads the text of page images. The work runs off the calling thread; the task resumes on the
// caller's thread. Ending the task stops the page being read within a moment, so cancelling a
// long document leaves no thread busy.
class TextRecognizer {
public:
    // Called on the caller's thread before each page is read; page counts from 1.
    using Progress = std::function<void(int page, int pageCount)>;

    virtual ~TextRecognizer() = default;
    // One text per page, in page order. Throws TextRecognitionError.
    virtual async::Task<QStringList> recognize(std::shared_ptr<const PageSource> pages,
                                               Progress progress) = 0;
};

// The recognizer the app uses: Tesseract with the system's English data, on a thread of its own
// (TesseractTextRecognizer). Cheap to make; the engine loads on the first page. Missing language
// data surfaces as TextRecognitionError(engineUnavailable) from the first recognize().
std::unique_ptr<TextRecognizer> makeSystemTextRecognizer();
