#include "Flashcards/NotecardImportModel.h"

#include "Auth/AuthSession.h"
#include "ByteCountFormatter.h"
#include "Common/FailureMessage.h"
#include "User/UserAPI.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// "card" or "cards" after a count.
QString cards(int count) {
    return QString::number(count) + (count == 1 ? QStringLiteral(" card") : QStringLiteral(" cards"));
}

// The chosen file could not be opened.
struct UnreadableFile {};

// Refusals made here read as they are; a failed request gets the step's lead-in.
QString describe(const QString& leadIn, std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const FlashcardImportAPI::ImportError& e) {
        return e.errorDescription();
    } catch (const UnreadableFile&) {
        return NotecardImportModel::unreadableFileText;
    } catch (...) {
        return leadIn + QStringLiteral(": ") + FailureMessage::describe(std::current_exception());
    }
}

template <class E> std::optional<E> fromRawValue(const QString& raw) {
    for (const auto& [value, name] : jsonRawValues(E{}))
        if (raw == QLatin1String(name))
            return value;
    return std::nullopt;
}

template <class E> QVariantList optionsOf() {
    QVariantList options;
    for (const auto& [value, name] : jsonRawValues(E{}))
        options << QVariantMap{{QStringLiteral("value"), QString::fromLatin1(name)},
                               {QStringLiteral("label"), displayName(value)}};
    return options;
}

// A PDF renamed to .txt would reach the backend as text; the bytes say what it is.
bool isPdf(const QByteArray& data) {
    return data.startsWith("%PDF-");
}

} // namespace

NotecardImportModel::NotecardImportModel(QObject* parent)
    : NotecardImportModel(AuthSession::makeAPIClient(), parent) {}

NotecardImportModel::NotecardImportModel(APIClient client, QObject* parent)
    : QObject(parent), api_(client), client_(client) {}

void NotecardImportModel::setPastedText(const QString& text) {
    if (text == pastedText_)
        return;
    pastedText_ = text;
    // A new deck: the request for the old one is dropped.
    if (filePath_.isEmpty()) {
        cancel();
        forgetHandle();
    }
    Q_EMIT inputChanged();
    Q_EMIT stateChanged();
}

QString NotecardImportModel::fileName() const {
    return QFileInfo(filePath_).fileName();
}

QString NotecardImportModel::fileNote() const {
    return QStringLiteral("Accepts .txt, .csv and .tsv, up to 2 MB.");
}

QStringList NotecardImportModel::nameFilters() const {
    return {QStringLiteral("Decks (*.txt *.csv *.tsv)")};
}

QUrl NotecardImportModel::pickerFolder() const {
    return QUrl::fromLocalFile(QStandardPaths::writableLocation(QStandardPaths::DownloadLocation));
}

QString NotecardImportModel::busyText() const {
    switch (work_) {
    case Work::preview:
        return QStringLiteral("Reading your deck…");
    case Work::commit:
        return QStringLiteral("Adding your cards…");
    case Work::none:
        break;
    }
    return {};
}

QString NotecardImportModel::fieldDelimiter() const {
    if (fieldChoice_)
        return json::rawValue(*fieldChoice_);
    return preview_ ? json::rawValue(preview_->fieldDelimiter) : QString();
}

QString NotecardImportModel::cardDelimiter() const {
    if (cardChoice_)
        return json::rawValue(*cardChoice_);
    return preview_ ? json::rawValue(preview_->cardDelimiter) : QString();
}

QVariantList NotecardImportModel::fieldDelimiterOptions() const {
    return optionsOf<FieldDelimiter>();
}

QVariantList NotecardImportModel::cardDelimiterOptions() const {
    return optionsOf<CardDelimiter>();
}

QVariantList NotecardImportModel::courseOptions() const {
    QVariantList options;
    for (const CourseSummary& course : courses_)
        options << QVariantMap{
            {QStringLiteral("id"), course.courseId},
            {QStringLiteral("label"), course.courseName.value_or(QStringLiteral("Untitled course"))}};
    return options;
}

void NotecardImportModel::setCourseId(const QString& courseId) {
    if (courseId == courseId_)
        return;
    courseId_ = courseId;
    Q_EMIT courseIdChanged();
}

QString NotecardImportModel::sampleTitle() const {
    if (!preview_)
        return {};
    const int count = int(preview_->sample.size());
    return count == 1 ? QStringLiteral("First card") : QStringLiteral("First %1 cards").arg(count);
}

QVariantList NotecardImportModel::sample() const {
    QVariantList rows;
    if (preview_) {
        for (const ImportPreviewCard& card : preview_->sample)
            rows << QVariantMap{{QStringLiteral("term"), card.term},
                                {QStringLiteral("definition"), card.definition},
                                {QStringLiteral("flagged"), card.flagged},
                                {QStringLiteral("flagReason"), card.flagReason.value_or(QString())}};
    }
    return rows;
}

QString NotecardImportModel::skippedTitle() const {
    if (!preview_ || preview_->skipped.isEmpty())
        return {};
    return QStringLiteral("Rows we couldn't read (%1)").arg(preview_->skipped.size());
}

QVariantList NotecardImportModel::skipped() const {
    QVariantList rows;
    if (preview_) {
        for (const ImportSkippedRow& row : preview_->skipped)
            rows << QVariantMap{{QStringLiteral("line"), QStringLiteral("Line %1").arg(row.lineNumber)},
                                {QStringLiteral("preview"), row.preview},
                                {QStringLiteral("reason"), row.reason}};
    }
    return rows;
}

QString NotecardImportModel::truncatedText() const {
    if (!preview_ || !preview_->truncated)
        return {};
    return QStringLiteral("Only the first %1 will be imported — the deck is longer than one import allows.")
        .arg(cards(commitCount()));
}

QString NotecardImportModel::flaggedTitle() const {
    if (!preview_ || preview_->flaggedCount <= 0)
        return {};
    return cards(preview_->flaggedCount) + QStringLiteral(" flagged");
}

void NotecardImportModel::setIncludeFlagged(bool include) {
    if (include == includeFlagged_)
        return;
    includeFlagged_ = include;
    Q_EMIT countsChanged();
    Q_EMIT stateChanged();
}

QString NotecardImportModel::storageMessage() const {
    return preview_ ? preview_->storageMessage.value_or(QString()) : QString();
}

int NotecardImportModel::commitCount() const {
    if (!preview_)
        return 0;
    // The totals count the whole deck, flagged cards included.
    return includeFlagged_ ? preview_->totalCards : qMax(0, preview_->totalCards - preview_->flaggedCount);
}

QString NotecardImportModel::commitTitle() const {
    return QStringLiteral("Add ") + cards(commitCount());
}

bool NotecardImportModel::canCommit() const {
    return preview_ && !isBusy() && !committed_ && preview_->fitsStorage && commitCount() > 0;
}

void NotecardImportModel::begin(const QString& courseId) {
    cancel();
    tasks_.cancel(coursesTask_);
    pastedText_.clear();
    filePath_.clear();
    forgetHandle();
    setMessages({}, {});
    setCourseId(courseId);
    Q_EMIT inputChanged();
    Q_EMIT stateChanged();
    const auto id = tasks_.spawn(loadCourses(this));
    coursesTask_ = tasks_.isRunning(id) ? id : 0;
}

async::Task<void> NotecardImportModel::loadCourses(NotecardImportModel* self) {
    try {
        const UserAPI api(self->client_);
        const BootstrapResponse answer = co_await api.bootstrap();
        self->courses_ = answer.courses;
        Q_EMIT self->coursesChanged();
        // Opened without a course: the first one is the natural target.
        if (self->courseId_.isEmpty() && !self->courses_.isEmpty())
            self->setCourseId(self->courses_.first().courseId);
    } catch (...) {
        self->setMessages(describe(QStringLiteral("Couldn't load your courses"), std::current_exception()),
                          {});
    }
    self->coursesTask_ = 0;
}

void NotecardImportModel::chooseFile(const QUrl& file) {
    if (!file.isLocalFile() || isBusy())
        return;
    filePath_ = file.toLocalFile();
    forgetHandle();
    setMessages({}, {});
    Q_EMIT inputChanged();
    Q_EMIT stateChanged();
}

void NotecardImportModel::clearFile() {
    if (filePath_.isEmpty() || isBusy())
        return;
    filePath_.clear();
    forgetHandle();
    Q_EMIT inputChanged();
    Q_EMIT stateChanged();
}

void NotecardImportModel::preview() {
    if (!canPreview())
        return;
    startWork(Work::preview, runPreview(this, std::nullopt, std::nullopt));
}

void NotecardImportModel::chooseFieldDelimiter(const QString& rawValue) {
    const std::optional<FieldDelimiter> field = fromRawValue<FieldDelimiter>(rawValue);
    if (field && preview_ && rawValue != fieldDelimiter())
        repreview(*field, cardChoice_.value_or(preview_->cardDelimiter));
}

void NotecardImportModel::chooseCardDelimiter(const QString& rawValue) {
    const std::optional<CardDelimiter> card = fromRawValue<CardDelimiter>(rawValue);
    if (card && preview_ && rawValue != cardDelimiter())
        repreview(fieldChoice_.value_or(preview_->fieldDelimiter), *card);
}

void NotecardImportModel::repreview(FieldDelimiter field, CardDelimiter card) {
    if (work_ == Work::commit || committed_)
        return;
    // Only the latest choice counts: the preview on its way for an earlier one is dropped.
    tasks_.cancel(task_);
    task_ = 0;
    fieldChoice_ = field;
    cardChoice_ = card;
    Q_EMIT delimitersChanged();
    startWork(Work::preview, runPreview(this, field, card));
}

async::Task<ImportHandle> NotecardImportModel::initiate(NotecardImportModel* self) {
    if (self->handle_)
        co_return *self->handle_;
    ImportHandle handle;
    if (self->filePath_.isEmpty()) {
        handle = co_await self->api_.initiatePaste(self->pastedText_);
    } else {
        const QString name = QFileInfo(self->filePath_).fileName();
        QFile file(self->filePath_);
        if (!file.open(QIODevice::ReadOnly))
            throw UnreadableFile();
        // A file over the limit is refused by its size, without reading it all.
        if (file.size() > FlashcardImportAPI::maxDeckBytes)
            throw FlashcardImportAPI::ImportError::deckTooLarge(file.size(),
                                                                FlashcardImportAPI::maxDeckBytes);
        const QByteArray data = file.readAll();
        if (isPdf(data))
            throw FlashcardImportAPI::ImportError::unsupportedFileType(QStringLiteral("pdf"));
        handle = co_await self->api_.initiateUpload(name, data);
    }
    self->handle_ = handle;
    co_return handle;
}

async::Task<void> NotecardImportModel::runPreview(NotecardImportModel* self,
                                                  std::optional<FieldDelimiter> field,
                                                  std::optional<CardDelimiter> card) {
    try {
        const ImportHandle handle = co_await initiate(self);
        ImportPreviewResponse answer = co_await self->api_.preview(handle, field, card);
        self->showPreview(std::move(answer));
    } catch (...) {
        self->setMessages(describe(QStringLiteral("Couldn't preview your deck"), std::current_exception()),
                          {});
    }
    self->finishWork();
}

void NotecardImportModel::commit() {
    if (!canCommit())
        return;
    startWork(Work::commit, runCommit(this));
}

async::Task<void> NotecardImportModel::runCommit(NotecardImportModel* self) {
    const QString courseId = self->courseId_;
    const std::optional<QString> course =
        courseId.isEmpty() ? std::nullopt : std::optional<QString>(courseId);
    try {
        const ImportCommitResponse result =
            co_await self->api_.commit(*self->handle_, course, self->preview_->fieldDelimiter,
                                       self->preview_->cardDelimiter, self->includeFlagged_);
        self->committed_ = true;
        self->finishWork();
        if (result.alreadyImported)
            self->setMessages({}, alreadyImportedText);
        else
            Q_EMIT self->imported(result.imported, courseId);
        co_return;
    } catch (...) {
        self->setMessages(describe(QStringLiteral("Couldn't add your cards"), std::current_exception()), {});
    }
    self->finishWork();
}

void NotecardImportModel::startOver() {
    if (isBusy())
        return;
    forgetHandle();
    setMessages({}, {});
    Q_EMIT stateChanged();
}

void NotecardImportModel::cancel() {
    if (!isBusy())
        return;
    tasks_.cancel(task_);
    finishWork();
}

void NotecardImportModel::startWork(Work work, async::Task<void> task) {
    work_ = work;
    setMessages({}, {});
    const auto id = tasks_.spawn(std::move(task));
    // A refusal made before any request has already finished the work.
    if (tasks_.isRunning(id))
        task_ = id;
    Q_EMIT stateChanged();
}

void NotecardImportModel::finishWork() {
    work_ = Work::none;
    task_ = 0;
    // A choice whose preview did not arrive gives way to the preview shown.
    if (fieldChoice_ || cardChoice_) {
        fieldChoice_.reset();
        cardChoice_.reset();
        Q_EMIT delimitersChanged();
    }
    Q_EMIT stateChanged();
}

void NotecardImportModel::showPreview(ImportPreviewResponse preview) {
    preview_ = std::move(preview);
    Q_EMIT previewChanged();
    Q_EMIT stateChanged();
    Q_EMIT countsChanged();
    Q_EMIT delimitersChanged();
}

void NotecardImportModel::forgetHandle() {
    handle_.reset();
    committed_ = false;
    includeFlagged_ = false;
    if (preview_) {
        preview_.reset();
        Q_EMIT previewChanged();
        Q_EMIT stateChanged();
        Q_EMIT countsChanged();
        Q_EMIT delimitersChanged();
    }
}

void NotecardImportModel::setMessages(const QString& error, const QString& notice) {
    if (error == errorMessage_ && notice == noticeMessage_)
        return;
    errorMessage_ = error;
    noticeMessage_ = notice;
    Q_EMIT messagesChanged();
}
