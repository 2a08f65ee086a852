#include "Library/SyllabusImport.h"

#include "Common/FailureMessage.h"
#include "Courses/SyllabusAPI.h"
#include "Courses/SyllabusPageReader.h"
#include "Courses/TextRecognizerProvider.h"
#include "TextRecognitionError.h"

#include <QFile>
#include <QFileInfo>

using SyllabusMessages::Line;
using SyllabusMessages::Material;

SyllabusImport::SyllabusImport(APIClient client, std::shared_ptr<TextRecognizer> recognizer,
                               PdfPages pdfPages, QObject* parent)
    : QObject(parent), client_(std::move(client)), recognizer_(std::move(recognizer)),
      pdfPages_(std::move(pdfPages)) {}

void SyllabusImport::setStatus(const QString& status) {
    if (status == status_)
        return;
    status_ = status;
    Q_EMIT statusChanged();
}

void SyllabusImport::setProgressText(const QString& text) {
    if (text == progressText_)
        return;
    progressText_ = text;
    Q_EMIT progressTextChanged();
}

void SyllabusImport::setTask(async::TaskScope::TaskId task) {
    if (task == task_)
        return;
    task_ = task;
    Q_EMIT canCancelChanged();
}

void SyllabusImport::start(async::Task<Line> work, const QString& status) {
    setStatus(status);
    const auto task = tasks_.spawn(
        std::move(work), [this](const Line& line) { finish(line); },
        async::TaskScope::ErrorHandler([this](std::exception_ptr error) {
            finish(SyllabusMessages::forError(FailureMessage::describe(error)));
        }));
    // Work that ended before its first wait has already reported.
    if (isBusy())
        setTask(task);
}

void SyllabusImport::finish(const Line& line) {
    setTask(0);
    setProgressText({});
    setStatus({});
    Q_EMIT finished(line.info, line.error);
}

void SyllabusImport::importPdf(const QUrl& file) {
    if (isBusy() || !file.isLocalFile())
        return;
    filename_ = QFileInfo(file.toLocalFile()).fileName();
    phase_ = Phase::submitting;
    start(runPdf(this, file.toLocalFile()), SyllabusMessages::pdfReadingStatus(filename_));
}

async::Task<Line> SyllabusImport::runPdf(SyllabusImport* self, QString path) {
    const QString filename = QFileInfo(path).fileName();
    // The size is checked before the file is read, so a huge file never fills memory.
    const qint64 size = QFileInfo(path).size();
    if (size > SyllabusAPI::maxFileBytes)
        throw SyllabusAPI::SyllabusUploadError::fileTooLarge(size, SyllabusAPI::maxFileBytes);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        co_return Line{
            {}, QStringLiteral("Couldn't open “") + filename + QStringLiteral("”: ") + file.errorString()};
    const QByteArray data = file.readAll();
    file.close();
    const SyllabusAPI api(self->client_);
    const SyllabusProcessResult result =
        co_await api.processFile(fileSource, filename, QStringLiteral("application/pdf"), data);
    if (result.status == QStringLiteral("empty_or_too_short"))
        co_return co_await readScannedPdf(self, path, filename);
    std::optional<QString> courseName;
    if (result.extractedData)
        courseName = result.extractedData->classTitle;
    co_return SyllabusMessages::forResult(result.status, courseName);
}

async::Task<Line> SyllabusImport::readScannedPdf(SyllabusImport* self, QString path, QString filename) {
    self->setStatus(SyllabusMessages::scannedPdfStatus());
    self->phase_ = Phase::reading;
    QStringList pages;
    try {
        if (!self->recognizer_ || !self->pdfPages_)
            throw TextRecognitionError(TextRecognitionError::Kind::engineUnavailable,
                                       TextRecognizerProvider::unavailableMessage);
        const auto progress = [self](int page, int count) {
            self->setProgressText(SyllabusPageReader::progressLine(page, count));
        };
        pages = co_await self->recognizer_->recognize(self->pdfPages_(path), progress);
    } catch (const TextRecognitionError& error) {
        if (error.kind() != TextRecognitionError::Kind::engineUnavailable)
            co_return Line{{}, SyllabusMessages::unreadablePdfMessage()};
        throw;
    }
    self->setProgressText({});
    self->phase_ = Phase::submitting;
    const QString text = SyllabusPageReader::join(pages);
    if (!SyllabusMessages::isReadable(text))
        co_return Line{{}, SyllabusMessages::unreadablePdfMessage()};
    co_return co_await submitText(self, text, filename, pdfTextSource);
}

async::Task<Line> SyllabusImport::submitText(SyllabusImport* self, QString text, QString filename,
                                             QString source) {
    SyllabusTextRequest request;
    request.documentContent = text.trimmed();
    request.source = source;
    request.filename = filename;
    const SyllabusAPI api(self->client_);
    const SyllabusTextJobResult result = co_await api.processText(request);
    co_return SyllabusMessages::forResult(result.status, result.courseName);
}

void SyllabusImport::submitScan(const QString& text, int pageCount) {
    submitRecognized(Material::scan, text, pageCount);
}

void SyllabusImport::submitPhotos(const QString& text, int pageCount) {
    submitRecognized(Material::photos, text, pageCount);
}

void SyllabusImport::submitRecognized(Material material, const QString& text, int pageCount) {
    if (isBusy())
        return;
    // Unreadable text is refused here, before anything is sent.
    if (!SyllabusMessages::isReadable(text)) {
        Q_EMIT finished({}, SyllabusMessages::tooShortMessage(material));
        return;
    }
    const QString label = SyllabusMessages::materialLabel(material, pageCount);
    filename_ = QStringLiteral("Syllabus — ") + label;
    phase_ = Phase::submitting;
    start(submitText(this, text, filename_, scanSource),
          SyllabusMessages::readingStatus(material, pageCount));
}

void SyllabusImport::reportScanFailure(const QString& description) {
    Q_EMIT finished({}, QStringLiteral("Couldn't scan: ") + description);
}

void SyllabusImport::reportPhotoFailure(const QString& message) {
    Q_EMIT finished({}, message);
}

void SyllabusImport::cancel() {
    if (task_ == 0)
        return;
    tasks_.cancel(task_);
    setTask(0);
    const Line line =
        phase_ == Phase::reading
            ? Line{QStringLiteral("Stopped reading “") + filename_ + QStringLiteral("”. Nothing was sent."),
                   {}}
            : Line{QStringLiteral("Stopped waiting for “") + filename_ +
                       QStringLiteral("”. If the course was made, it appears in your library shortly."),
                   {}};
    finish(line);
}
