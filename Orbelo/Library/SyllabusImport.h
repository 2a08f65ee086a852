#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "APIClient.h"
#include "Library/SyllabusMessages.h"
#include "PageSource.h"
#include "TaskScope.h"
#include "TextRecognizer.h"

#include <QUrl>
#include <QtQml/qqmlregistration.h>

#include <functional>
#include <memory>

// One syllabus on its way to becoming a course: a PDF sent to the backend (and, when it holds
// only page images, read on this computer first), or the text of a webcam scan or of photos.
// At most one runs at a time; `status` says what it is doing until `finished` reports the line
// for the Library's message area.
class SyllabusImport : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The Library owns its syllabus import.")
    Q_PROPERTY(QString status READ status NOTIFY statusChanged)
    Q_PROPERTY(bool isBusy READ isBusy NOTIFY statusChanged)
    Q_PROPERTY(QString progressText READ progressText NOTIFY progressTextChanged)
    Q_PROPERTY(bool canCancel READ canCancel NOTIFY canCancelChanged)
public:
    using PdfPages = std::function<std::shared_ptr<const PageSource>(const QString& path)>;

    static inline const QString fileSource = QStringLiteral("pdf-upload");
    static inline const QString scanSource = QStringLiteral("ios-scan");
    static inline const QString pdfTextSource = QStringLiteral("ios-pdf-ocr");

    SyllabusImport(APIClient client, std::shared_ptr<TextRecognizer> recognizer, PdfPages pdfPages,
                   QObject* parent = nullptr);

    QString status() const { return status_; }
    bool isBusy() const { return !status_.isEmpty(); }
    // "Reading page N of M…" while a scanned PDF is read on this computer.
    QString progressText() const { return progressText_; }
    // While pages are read or the backend's answer is awaited; not while an upload is followed.
    bool canCancel() const { return task_ != 0; }

    Q_INVOKABLE void importPdf(const QUrl& file);
    // The text of a webcam scan and of picked photos, with the number of pages or photos.
    Q_INVOKABLE void submitScan(const QString& text, int pageCount);
    Q_INVOKABLE void submitPhotos(const QString& text, int pageCount);
    Q_INVOKABLE void reportScanFailure(const QString& description);
    Q_INVOKABLE void reportPhotoFailure(const QString& message);
    // Stops reading pages (nothing is sent), or stops waiting for the backend's answer.
    Q_INVOKABLE void cancel();

    // Lets the Library show its own follow-up of an upload in the same line.
    void setStatus(const QString& status);

Q_SIGNALS:
    void statusChanged();
    void progressTextChanged();
    void canCancelChanged();
    // Exactly one of the two is non-empty; a success asks the Library to reload.
    void finished(const QString& info, const QString& error);

private:
    enum class Phase { reading, submitting };

    static async::Task<SyllabusMessages::Line> runPdf(SyllabusImport* self, QString path);
    static async::Task<SyllabusMessages::Line> readScannedPdf(SyllabusImport* self, QString path,
                                                              QString filename);
    static async::Task<SyllabusMessages::Line> submitText(SyllabusImport* self, QString text,
                                                          QString filename, QString source);
    void submitRecognized(SyllabusMessages::Material material, const QString& text, int pageCount);
    void start(async::Task<SyllabusMessages::Line> work, const QString& status);
    void finish(const SyllabusMessages::Line& line);
    void setProgressText(const QString& text);
    void setTask(async::TaskScope::TaskId task);

    APIClient client_;
    std::shared_ptr<TextRecognizer> recognizer_;
    PdfPages pdfPages_;
    QString status_;
    QString progressText_;
    QString filename_;
    Phase phase_ = Phase::submitting;
    async::TaskScope::TaskId task_ = 0;
    async::TaskScope tasks_; // last: tasks end before what they use
};
