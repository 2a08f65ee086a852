#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "PageSource.h"
#include "TaskScope.h"
#include "TextRecognitionError.h"
#include "TextRecognizer.h"

#include <memory>

// Reads the pages of a scan or of photos through the text recognizer, with a progress line and a
// way to stop: what the scanner and the photo picker share. Each start ends in exactly one of
// finished or failed, unless it is cancelled.
class SyllabusPageReader : public QObject {
    Q_OBJECT
public:
    // Without a recognizer every start fails with the unavailable line.
    explicit SyllabusPageReader(std::shared_ptr<TextRecognizer> recognizer, QObject* parent = nullptr);

    bool isReading() const { return reading_; }
    // "Reading page N of M…" while reading, else empty.
    QString progressText() const { return progressText_; }

    // Ignored while a reading runs.
    void start(std::shared_ptr<const PageSource> pages);
    // Stops the reading without an outcome.
    void cancel();

    // The page texts trimmed and separated by a blank line; blank pages add nothing.
    static QString join(const QStringList& pageTexts);
    // "Reading page N of M…", the progress line of every reading.
    static QString progressLine(int page, int pageCount);

Q_SIGNALS:
    void readingChanged();
    void progressTextChanged();
    void finished(const QString& text, int pageCount);
    void failed(const TextRecognitionError& error);

private:
    void setProgress(int page, int pageCount);
    void stop();

    std::shared_ptr<TextRecognizer> recognizer_;
    bool reading_ = false;
    QString progressText_;
    async::TaskScope::TaskId task_ = 0;
    async::TaskScope tasks_; // last: tasks end before what they use
};
