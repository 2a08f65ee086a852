#include "Library/DocumentsModel.h"

#include "Auth/AuthSession.h"
#include "Common/AppContext.h"
#include "Common/CourseChoices.h"
#include "Common/DocumentText.h"
#include "Common/FailureMessage.h"
#include "Courses/TextRecognizerProvider.h"
#include "Documents/DocumentsAPI.h"
#include "Library/AcceptedFileTypes.h"
#include "Library/DocumentUpload.h"
#include "Library/DocumentUploadError.h"
#include "Library/ProcessingWatch.h"
#include "User/UserAPI.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString describe(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const DocumentUploadError& e) {
        return e.message();
    } catch (...) {
        return FailureMessage::describe(std::current_exception());
    }
}

} // namespace

DocumentsModel::DocumentsModel(QObject* parent)
    : DocumentsModel(AuthSession::makeAPIClient(), {}, {}, parent) {}

DocumentsModel::DocumentsModel(APIClient client, std::shared_ptr<TextRecognizer> recognizer,
                               SyllabusImport::PdfPages pdfPages, QObject* parent)
    : QObject(parent), client_(client), syllabus_(client, std::move(recognizer), std::move(pdfPages)) {
    connect(this, &DocumentsModel::filterChanged, this, &DocumentsModel::refreshRows);
    connect(this, &DocumentsModel::searchTextChanged, this, &DocumentsModel::refreshRows);
    connect(&syllabus_, &SyllabusImport::finished, this, &DocumentsModel::showSyllabusOutcome);
}

void DocumentsModel::showSyllabusOutcome(const QString& info, const QString& error) {
    setErrorMessage(error);
    setInfoMessage(info);
    if (!info.isEmpty())
        load();
}

QString DocumentsModel::courseName(const QString& courseId) const {
    for (const CourseSummary& course : courses_) {
        if (course.courseId == courseId)
            return CourseChoices::label(course);
    }
    return QStringLiteral("Untitled course");
}

void DocumentsModel::courseCreated(const QString& courseId) {
    setErrorMessage({});
    tasks_.spawn(announceCourse(this, courseId));
}

async::Task<void> DocumentsModel::announceCourse(DocumentsModel* self, QString courseId) {
    co_await reload(self);
    if (self->errorMessage_.isEmpty())
        self->setInfoMessage(SyllabusMessages::createdCourse(self->courseName(courseId)));
}

void DocumentsModel::setSearchText(const QString& text) {
    if (text == searchText_)
        return;
    searchText_ = text;
    Q_EMIT searchTextChanged();
}

QString DocumentsModel::filterSymbol() const {
    return filter_.kind() == CourseFilter::Kind::all
               ? QStringLiteral("line.3.horizontal.decrease.circle")
               : QStringLiteral("line.3.horizontal.decrease.circle.fill");
}

QVariantList DocumentsModel::filterOptions() const {
    const auto option = [this](const CourseFilter& filter, const QString& label) {
        return QVariantMap{{QStringLiteral("key"), filter.key()},
                           {QStringLiteral("label"), label},
                           {QStringLiteral("checked"), filter == filter_}};
    };
    QVariantList options{option(CourseFilter(), QStringLiteral("All courses")),
                         option(CourseFilter::unassigned(), QStringLiteral("No course"))};
    for (const CourseSummary& course : courses_)
        options << option(CourseFilter::course(course.courseId), CourseChoices::label(course));
    return options;
}

QString DocumentsModel::headerText() const {
    const qsizetype shown = rows_.documents().size();
    if (shown == documents_.size())
        return QStringLiteral("Your documents (%1)").arg(shown);
    return QStringLiteral("Your documents (%1 of %2)").arg(shown).arg(documents_.size());
}

QString DocumentsModel::emptyTitle() const {
    if (!rows_.documents().isEmpty() || documents_.isEmpty())
        return {};
    if (filter_.kind() != CourseFilter::Kind::all)
        return QStringLiteral("No documents in this course");
    return QStringLiteral("No matching documents");
}

QString DocumentsModel::emptyMessage() const {
    if (!rows_.documents().isEmpty())
        return {};
    if (documents_.isEmpty())
        return QStringLiteral("Add your syllabus to create a course, or upload lecture notes and readings.");
    if (filter_.kind() != CourseFilter::Kind::all)
        return QStringLiteral("Choose another course, or All courses.");
    return QStringLiteral("Nothing in your library matches “%1”.").arg(searchText_);
}

QString DocumentsModel::pendingFilename() const {
    return pendingPath_.isEmpty() ? QString() : QFileInfo(pendingPath_).fileName();
}

QVariantList DocumentsModel::courseOptions() const {
    return CourseChoices::options(courses_);
}

QStringList DocumentsModel::nameFilters() const {
    return AcceptedFileTypes::nameFilters();
}

QUrl DocumentsModel::pickerFolder() const {
    return QUrl::fromLocalFile(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

void DocumentsModel::load() {
    tasks_.spawn(reload(this));
}

async::Task<void> DocumentsModel::reload(DocumentsModel* self) {
    if (self->isLoading_)
        co_return;
    self->setLoading(true);
    self->setErrorMessage({});
    try {
        const UserAPI api(self->client_);
        const BootstrapResponse answer = co_await api.bootstrap();
        self->documents_ = answer.documents;
        self->courses_ = answer.courses;
        Q_EMIT self->filterChanged();
    } catch (...) {
        self->setErrorMessage(FailureMessage::describe(std::current_exception()));
    }
    self->setLoading(false);
}

void DocumentsModel::setFilter(const QString& key) {
    const CourseFilter filter = CourseFilter::fromKey(key);
    if (filter == filter_)
        return;
    filter_ = filter;
    Q_EMIT filterChanged();
}

void DocumentsModel::refreshRows() {
    QList<DocumentItem> shown;
    for (const DocumentItem& document : std::as_const(documents_)) {
        if (filter_.passes(document) && DocumentText::matches(document, searchText_))
            shown << document;
    }
    rows_.setDocuments(shown, slowIds_);
    Q_EMIT shownChanged();
}

std::optional<DocumentItem> DocumentsModel::document(const QString& documentId) const {
    for (const DocumentItem& document : documents_) {
        if (document.id == documentId)
            return document;
    }
    return std::nullopt;
}

void DocumentsModel::chooseFile(const QUrl& file) {
    if (!uploadingFilename_.isEmpty() || !file.isLocalFile())
        return;
    setPendingPath(file.toLocalFile());
}

bool DocumentsModel::chooseDroppedFiles(const QList<QUrl>& files) {
    for (const QUrl& file : files) {
        if (file.isLocalFile() && AcceptedFileTypes::accepts(file.fileName())) {
            chooseFile(file);
            return true;
        }
    }
    setErrorMessage(unsupportedFileMessage);
    return false;
}

void DocumentsModel::cancelDestination() {
    setPendingPath({});
}

void DocumentsModel::uploadTo(const QString& courseId) {
    if (pendingPath_.isEmpty() || !uploadingFilename_.isEmpty())
        return;
    const QString path = pendingPath_;
    setPendingPath({});
    setErrorMessage({});
    setInfoMessage({});
    setUploadProgress(-1);
    setUploadingFilename(QFileInfo(path).fileName());
    const auto course = courseId.isEmpty() ? std::nullopt : std::optional<QString>(courseId);
    uploadTask_ = tasks_.spawn(runUpload(this, path, course),
                               async::TaskScope::ErrorHandler([this](std::exception_ptr error) {
                                   setErrorMessage(describe(error));
                                   setUploadingFilename({});
                               }));
}

async::Task<void> DocumentsModel::runUpload(DocumentsModel* self, QString path,
                                            std::optional<QString> courseId) {
    const APIClient::UploadProgress progress = [self](qint64 sent, qint64 total) {
        self->setUploadProgress(double(sent) / double(total));
    };
    const DocumentUpload::Result result =
        co_await DocumentUpload::run(self->client_, path, courseId, progress);
    self->uploadTask_ = 0;
    Q_EMIT self->uploadChanged();
    self->setInfoMessage(QStringLiteral("Uploaded ") + self->uploadingFilename_);
    co_await reload(self);
    // Without a course, a job id means the backend is checking the file for a syllabus.
    if (!courseId && result.completion.jobId && !self->syllabus_.isBusy())
        self->followSyllabus(result.documentId, self->uploadingFilename_);
    else
        self->watch(result.documentId);
    self->setUploadingFilename({});
}

void DocumentsModel::cancelUpload() {
    if (!canCancelUpload())
        return;
    tasks_.cancel(std::exchange(uploadTask_, 0));
    setInfoMessage(QStringLiteral("Cancelled the upload of ") + uploadingFilename_ + u'.');
    setUploadingFilename({});
}

void DocumentsModel::watch(const QString& documentId) {
    auto poll = [this, documentId] { return pollDocument(this, documentId); };
    tasks_.spawn(ProcessingWatch::run(poll, slowMarker(documentId)),
                 [this](const std::optional<DocumentItem>& document) {
                     if (document)
                         reportProcessed(*document);
                 });
}

void DocumentsModel::reportProcessed(const DocumentItem& document) {
    const QString name = DocumentText::displayName(document);
    if (document.processingState() == DocumentItem::ProcessingState::ready)
        setInfoMessage(name + QStringLiteral(" is ready."));
    else
        setErrorMessage(name + QStringLiteral(" couldn't be processed. Try re-uploading it."));
}

std::function<void()> DocumentsModel::slowMarker(const QString& documentId) {
    return [this, documentId] {
        if (slowIds_.contains(documentId))
            return;
        slowIds_.insert(documentId);
        refreshRows();
    };
}

void DocumentsModel::followSyllabus(const QString& documentId, const QString& filename) {
    syllabus_.setStatus(SyllabusMessages::stillProcessingStatus(filename));
    auto poll = [this, documentId] { return pollDocument(this, documentId); };
    tasks_.spawn(
        ProcessingWatch::run(poll, slowMarker(documentId)),
        [this, documentId, filename](const std::optional<DocumentItem>& document) {
            finishSyllabusFollowUp(document, documentId, filename);
        },
        async::TaskScope::ErrorHandler([this](std::exception_ptr) { syllabus_.setStatus({}); }));
}

void DocumentsModel::finishSyllabusFollowUp(const std::optional<DocumentItem>& document,
                                            const QString& documentId, const QString& filename) {
    syllabus_.setStatus({});
    if (!document) {
        // Gone from the list means deleted meanwhile; still listed means still processing.
        if (this->document(documentId))
            setInfoMessage(SyllabusMessages::stillProcessingAfterWatch(filename));
        return;
    }
    const bool gotCourse = document->courseId && !document->courseId->isEmpty();
    if (document->processingState() == DocumentItem::ProcessingState::ready && gotCourse)
        setInfoMessage(SyllabusMessages::createdCourse(courseName(*document->courseId)));
    else
        reportProcessed(*document);
}

async::Task<std::optional<DocumentItem>> DocumentsModel::pollDocument(DocumentsModel* self,
                                                                      QString documentId) {
    co_await reload(self);
    co_return self->document(documentId);
}

void DocumentsModel::deleteDocument(const QString& documentId) {
    const auto doomed = document(documentId);
    if (!doomed)
        return;
    const QString name = DocumentText::displayName(*doomed);
    tasks_.spawn(runDelete(this, documentId),
                 async::TaskScope::ErrorHandler([this, name](std::exception_ptr error) {
                     setErrorMessage(QStringLiteral("Delete failed for ") + name + QStringLiteral(": ") +
                                     FailureMessage::describe(error));
                 }));
}

async::Task<void> DocumentsModel::runDelete(DocumentsModel* self, QString documentId) {
    const DocumentsAPI api(self->client_);
    co_await api.deleteDocument(documentId);
    co_await reload(self);
}

void DocumentsModel::open(const QString& documentId) {
    const auto chosen = document(documentId);
    if (chosen && chosen->processingState() == DocumentItem::ProcessingState::ready)
        Q_EMIT openDocument(chosen->id, DocumentText::displayName(*chosen),
                            chosen->courseId.value_or(QString()));
}

void DocumentsModel::openRewards() {
    if (context_)
        Q_EMIT context_->rewardsRequested();
}

void DocumentsModel::dismissMessages() {
    setErrorMessage({});
    setInfoMessage({});
}

void DocumentsModel::setLoading(bool loading) {
    if (loading == isLoading_)
        return;
    isLoading_ = loading;
    Q_EMIT isLoadingChanged();
}

void DocumentsModel::setErrorMessage(const QString& message) {
    if (message == errorMessage_)
        return;
    errorMessage_ = message;
    Q_EMIT errorMessageChanged();
}

void DocumentsModel::setInfoMessage(const QString& message) {
    if (message == infoMessage_)
        return;
    infoMessage_ = message;
    Q_EMIT infoMessageChanged();
}

void DocumentsModel::setPendingPath(const QString& path) {
    if (path == pendingPath_)
        return;
    pendingPath_ = path;
    Q_EMIT pendingUploadChanged();
}

void DocumentsModel::setUploadingFilename(const QString& filename) {
    if (filename == uploadingFilename_)
        return;
    uploadingFilename_ = filename;
    Q_EMIT uploadChanged();
}

void DocumentsModel::setUploadProgress(double progress) {
    if (progress == uploadProgress_)
        return;
    uploadProgress_ = progress;
    Q_EMIT uploadProgressChanged();
}

void DocumentsModel::setContext(AppContext* context) {
    if (context == context_)
        return;
    context_ = context;
    Q_EMIT contextChanged();
}
