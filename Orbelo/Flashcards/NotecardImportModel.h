#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "APIClient.h"
#include "Courses/CourseSummary.h"
#include "FlashcardImport/FlashcardImportAPI.h"
#include "TaskScope.h"

#include <QUrl>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

// "Load notecards": a deck pasted or picked from a file is sent to the backend, which parses it;
// the preview shows how it split (the separators can be changed, which previews again), and
// "Add N cards" commits it into a course. One request runs at a time and can be cancelled.
class NotecardImportModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString pastedText READ pastedText WRITE setPastedText NOTIFY inputChanged)
    Q_PROPERTY(QString fileName READ fileName NOTIFY inputChanged)
    Q_PROPERTY(QString fileNote READ fileNote CONSTANT)
    Q_PROPERTY(QStringList nameFilters READ nameFilters CONSTANT)
    Q_PROPERTY(QUrl pickerFolder READ pickerFolder CONSTANT)
    Q_PROPERTY(bool canPreview READ canPreview NOTIFY stateChanged)
    Q_PROPERTY(bool hasPreview READ hasPreview NOTIFY previewChanged)
    Q_PROPERTY(bool isBusy READ isBusy NOTIFY stateChanged)
    Q_PROPERTY(bool isCommitting READ isCommitting NOTIFY stateChanged)
    Q_PROPERTY(QString busyText READ busyText NOTIFY stateChanged)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY messagesChanged)
    Q_PROPERTY(QString noticeMessage READ noticeMessage NOTIFY messagesChanged)
    Q_PROPERTY(int totalCards READ totalCards NOTIFY previewChanged)
    Q_PROPERTY(QString fieldDelimiter READ fieldDelimiter NOTIFY delimitersChanged)
    Q_PROPERTY(QString cardDelimiter READ cardDelimiter NOTIFY delimitersChanged)
    Q_PROPERTY(QVariantList fieldDelimiterOptions READ fieldDelimiterOptions CONSTANT)
    Q_PROPERTY(QVariantList cardDelimiterOptions READ cardDelimiterOptions CONSTANT)
    Q_PROPERTY(QVariantList courseOptions READ courseOptions NOTIFY coursesChanged)
    Q_PROPERTY(QString courseId READ courseId WRITE setCourseId NOTIFY courseIdChanged)
    Q_PROPERTY(QString sampleTitle READ sampleTitle NOTIFY previewChanged)
    Q_PROPERTY(QVariantList sample READ sample NOTIFY previewChanged)
    Q_PROPERTY(QString skippedTitle READ skippedTitle NOTIFY previewChanged)
    Q_PROPERTY(QVariantList skipped READ skipped NOTIFY previewChanged)
    Q_PROPERTY(QStringList sanitizedNotes READ sanitizedNotes NOTIFY previewChanged)
    Q_PROPERTY(QString truncatedText READ truncatedText NOTIFY countsChanged)
    Q_PROPERTY(QString flaggedTitle READ flaggedTitle NOTIFY previewChanged)
    Q_PROPERTY(bool includeFlagged READ includeFlagged WRITE setIncludeFlagged NOTIFY countsChanged)
    Q_PROPERTY(bool fitsStorage READ fitsStorage NOTIFY previewChanged)
    Q_PROPERTY(QString storageMessage READ storageMessage NOTIFY previewChanged)
    Q_PROPERTY(QString commitTitle READ commitTitle NOTIFY countsChanged)
    Q_PROPERTY(bool canCommit READ canCommit NOTIFY stateChanged)
public:
    static inline const QString alreadyImportedText =
        QStringLiteral("This deck was already added to your cards.");
    static inline const QString unreadableFileText =
        QStringLiteral("Couldn't open that file. Try choosing it again.");

    // The app's backend client.
    explicit NotecardImportModel(QObject* parent = nullptr);
    explicit NotecardImportModel(APIClient client, QObject* parent = nullptr);

    QString pastedText() const { return pastedText_; }
    void setPastedText(const QString& text);
    QString fileName() const;
    QString fileNote() const;
    QStringList nameFilters() const;
    // Where the file picker opens: the user's downloads, where exported decks land.
    QUrl pickerFolder() const;
    // An empty deck is refused with its reason rather than by a button that does nothing.
    bool canPreview() const { return !isBusy() && !hasPreview(); }
    bool hasPreview() const { return preview_.has_value(); }
    bool isBusy() const { return task_ != 0; }
    bool isCommitting() const { return work_ == Work::commit; }
    QString busyText() const;
    QString errorMessage() const { return errorMessage_; }
    QString noticeMessage() const { return noticeMessage_; }
    int totalCards() const { return preview_ ? preview_->totalCards : 0; }
    // The raw values shown by the pickers: the chosen ones while their preview is on its way.
    QString fieldDelimiter() const;
    QString cardDelimiter() const;
    // {value, label} for each separator.
    QVariantList fieldDelimiterOptions() const;
    QVariantList cardDelimiterOptions() const;
    // {id, label} for each of the user's courses.
    QVariantList courseOptions() const;
    QString courseId() const { return courseId_; }
    void setCourseId(const QString& courseId);
    QString sampleTitle() const;
    // {term, definition, flagged, flagReason} for each card of the sample.
    QVariantList sample() const;
    QString skippedTitle() const;
    // {line, preview, reason} for each row that could not be read.
    QVariantList skipped() const;
    QStringList sanitizedNotes() const {
        return preview_ ? QStringList(preview_->sanitizedNotes) : QStringList();
    }
    // Empty unless the deck is longer than one import allows.
    QString truncatedText() const;
    // Empty when no card was flagged.
    QString flaggedTitle() const;
    bool includeFlagged() const { return includeFlagged_; }
    void setIncludeFlagged(bool include);
    bool fitsStorage() const { return preview_ && preview_->fitsStorage; }
    QString storageMessage() const;
    // The number of cards "Add N cards" adds: flagged ones only when they are included.
    int commitCount() const;
    QString commitTitle() const;
    bool canCommit() const;

    // The sheet opened from the cards of `courseId` (empty for none): a fresh start, and the
    // user's courses load for the picker.
    Q_INVOKABLE void begin(const QString& courseId);
    // A file from the picker, sent instead of the pasted text.
    Q_INVOKABLE void chooseFile(const QUrl& file);
    Q_INVOKABLE void clearFile();
    // Sends the deck (once per input) and previews it with the separators the backend detects.
    Q_INVOKABLE void preview();
    // Previews again with the chosen separator; a newer choice replaces a preview on its way.
    Q_INVOKABLE void chooseFieldDelimiter(const QString& rawValue);
    Q_INVOKABLE void chooseCardDelimiter(const QString& rawValue);
    Q_INVOKABLE void commit();
    // Drops the preview and the sent deck; the pasted text or file stays for another try.
    Q_INVOKABLE void startOver();
    // Stops the request in flight; the screen stays where it was.
    Q_INVOKABLE void cancel();

Q_SIGNALS:
    void inputChanged();
    void stateChanged();
    void messagesChanged();
    void previewChanged();
    void delimitersChanged();
    void coursesChanged();
    void courseIdChanged();
    void countsChanged();
    // The cards were added; the sheet closes.
    void imported(int count, const QString& courseId);

private:
    enum class Work { none, preview, commit };

    static async::Task<void> loadCourses(NotecardImportModel* self);
    static async::Task<void> runPreview(NotecardImportModel* self, std::optional<FieldDelimiter> field,
                                        std::optional<CardDelimiter> card);
    static async::Task<ImportHandle> initiate(NotecardImportModel* self);
    static async::Task<void> runCommit(NotecardImportModel* self);
    void repreview(FieldDelimiter field, CardDelimiter card);
    void startWork(Work work, async::Task<void> task);
    void finishWork();
    void showPreview(ImportPreviewResponse preview);
    void forgetHandle();
    void setMessages(const QString& error, const QString& notice);

    FlashcardImportAPI api_;
    APIClient client_;
    QString pastedText_;
    QString filePath_;
    // The deck as sent, until the input changes or the user starts over.
    std::optional<ImportHandle> handle_;
    std::optional<ImportPreviewResponse> preview_;
    // The separators of the preview on its way, else those of the preview shown.
    std::optional<FieldDelimiter> fieldChoice_;
    std::optional<CardDelimiter> cardChoice_;
    QList<CourseSummary> courses_;
    QString courseId_;
    bool includeFlagged_ = false;
    bool committed_ = false;
    QString errorMessage_;
    QString noticeMessage_;
    Work work_ = Work::none;
    async::TaskScope::TaskId task_ = 0;
    async::TaskScope::TaskId coursesTask_ = 0;
    async::TaskScope tasks_; // last: tasks end before what they use
};
