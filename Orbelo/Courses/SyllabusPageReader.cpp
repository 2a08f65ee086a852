#include "Courses/SyllabusPageReader.h"

#include "Courses/TextRecognizerProvider.h"

namespace {

TextRecognitionError recognitionError(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const TextRecognitionError& e) {
        return e;
    } catch (const std::exception& e) {
        return {TextRecognitionError::Kind::engineUnavailable, QString::fromUtf8(e.what())};
    } catch (...) {
        return {TextRecognitionError::Kind::engineUnavailable, TextRecognizerProvider::unavailableMessage};
    }
}

} // namespace

SyllabusPageReader::SyllabusPageReader(std::shared_ptr<TextRecognizer> recognizer, QObject* parent)
    : QObject(parent), recognizer_(std::move(recognizer)) {}

void SyllabusPageReader::start(std::shared_ptr<const PageSource> pages) {
    if (reading_)
        return;
    if (!recognizer_) {
        Q_EMIT failed(
            {TextRecognitionError::Kind::engineUnavailable, TextRecognizerProvider::unavailableMessage});
        return;
    }
    const int pageCount = pages->pageCount();
    reading_ = true;
    setProgress(1, pageCount);
    Q_EMIT readingChanged();
    const auto id = tasks_.spawn(
        recognizer_->recognize(std::move(pages), [this](int page, int count) { setProgress(page, count); }),
        [this, pageCount](const QStringList& texts) {
            stop();
            Q_EMIT finished(join(texts), pageCount);
        },
        [this](std::exception_ptr error) {
            stop();
            Q_EMIT failed(recognitionError(error));
        });
    // A recognizer that never suspends has already finished here.
    task_ = tasks_.isRunning(id) ? id : 0;
}

void SyllabusPageReader::cancel() {
    if (!reading_)
        return;
    tasks_.cancel(task_);
    stop();
}

QString SyllabusPageReader::join(const QStringList& pageTexts) {
    QStringList texts;
    for (const QString& text : pageTexts) {
        if (!text.trimmed().isEmpty())
            texts << text.trimmed();
    }
    return texts.join(QStringLiteral("\n\n"));
}

QString SyllabusPageReader::progressLine(int page, int pageCount) {
    return QStringLiteral("Reading page %1 of %2…").arg(page).arg(pageCount);
}

void SyllabusPageReader::setProgress(int page, int pageCount) {
    const QString text = progressLine(page, pageCount);
    if (text == progressText_)
        return;
    progressText_ = text;
    Q_EMIT progressTextChanged();
}

void SyllabusPageReader::stop() {
    task_ = 0;
    reading_ = false;
    progressText_.clear();
    Q_EMIT progressTextChanged();
    Q_EMIT readingChanged();
}
