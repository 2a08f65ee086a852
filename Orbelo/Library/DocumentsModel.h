#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>
#include <QPointer>

#include "APIClient.h"
#include "Common/CourseFilter.h"
#include "Courses/CourseSummary.h"
#include "Library/DocumentListModel.h"
#include "Library/SyllabusImport.h"
#include "TaskScope.h"

#include <QSet>
#include <QUrl>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

class AppContext;

// The Library: the user's documents and courses, filtered by course and searched by name; adding
// a file (choose it, pick where it goes, upload it) and following its processing; deleting;
// creating courses from a syllabus.
class DocumentsModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY isLoadingChanged)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY errorMessageChanged)
    Q_PROPERTY(QString infoMessage READ infoMessage NOTIFY infoMessageChanged)
    Q_PROPERTY(QString searchText READ searchText WRITE setSearchText NOTIFY searchTextChanged)
    Q_PROPERTY(QString filterKey READ filterKey NOTIFY filterChanged)
    Q_PROPERTY(QString filterSymbol READ filterSymbol NOTIFY filterChanged)
    Q_PROPERTY(QVariantList filterOptions READ filterOptions NOTIFY filterChanged)
    Q_PROPERTY(QString headerText READ headerText NOTIFY shownChanged)
    Q_PROPERTY(QString emptyTitle READ emptyTitle NOTIFY shownChanged)
    Q_PROPERTY(QString emptyMessage READ emptyMessage NOTIFY shownChanged)
    Q_PROPERTY(DocumentListModel* rows READ rows CONSTANT)
    Q_PROPERTY(QString pendingFilename READ pendingFilename NOTIFY pendingUploadChanged)
    Q_PROPERTY(QVariantList courseOptions READ courseOptions NOTIFY filterChanged)
    Q_PROPERTY(QString uploadingFilename READ uploadingFilename NOTIFY uploadChanged)
    Q_PROPERTY(double uploadProgress READ uploadProgress NOTIFY uploadProgressChanged)
    Q_PROPERTY(bool canCancelUpload READ canCancelUpload NOTIFY uploadChanged)
    Q_PROPERTY(QStringList nameFilters READ nameFilters CONSTANT)
    Q_PROPERTY(QUrl pickerFolder READ pickerFolder CONSTANT)
    Q_PROPERTY(SyllabusImport* syllabus READ syllabus CONSTANT)
    Q_PROPERTY(AppContext* context READ context WRITE setContext NOTIFY contextChanged)
    Q_MOC_INCLUDE("Common/AppContext.h")
public:
    static inline const QString unsupportedFileMessage =
        QStringLiteral("That file type isn't supported. Try a PDF, Word, PowerPoint, or text file.");

    // The app's backend client.
    explicit DocumentsModel(QObject* parent = nullptr);
    explicit DocumentsModel(APIClient client, std::shared_ptr<TextRecognizer> recognizer = {},
                            SyllabusImport::PdfPages pdfPages = {}, QObject* parent = nullptr);

    bool isLoading() const { return isLoading_; }
    QString errorMessage() const { return errorMessage_; }
    QString infoMessage() const { return infoMessage_; }
    QString searchText() const { return searchText_; }
    void setSearchText(const QString& text);
    QString filterKey() const { return filter_.key(); }
    QString filterSymbol() const;
    // {key, label, checked} for "All courses", "No course" and each course.
    QVariantList filterOptions() const;
    QString headerText() const;
    QString emptyTitle() const;
    QString emptyMessage() const;
    DocumentListModel* rows() { return &rows_; }
    QString pendingFilename() const;
    // {id, label} for each course, the choices of the destination sheet.
    QVariantList courseOptions() const;
    QString uploadingFilename() const { return uploadingFilename_; }
    // The share of the file sent, 0 to 1; below 0 while the size of the work is not known yet.
    double uploadProgress() const { return uploadProgress_; }
    // Until the backend has the file: afterwards only the list's reload is left.
    bool canCancelUpload() const { return !uploadingFilename_.isEmpty() && uploadTask_ != 0; }
    QStringList nameFilters() const;
    // Where the file picker opens: the user's documents folder.
    QUrl pickerFolder() const;
    const QSet<QString>& slowDocumentIds() const { return slowIds_; }
    SyllabusImport* syllabus() { return &syllabus_; }

    Q_INVOKABLE void load();
    Q_INVOKABLE void setFilter(const QString& key);
    // A file from the picker, which offers only accepted types.
    Q_INVOKABLE void chooseFile(const QUrl& file);
    // Dropped files: the first of an accepted type is taken. False when none is.
    Q_INVOKABLE bool chooseDroppedFiles(const QList<QUrl>& files);
    // The destination sheet's choice: a course id, or empty for no course.
    Q_INVOKABLE void uploadTo(const QString& courseId);
    Q_INVOKABLE void cancelDestination();
    Q_INVOKABLE void cancelUpload();
    Q_INVOKABLE void deleteDocument(const QString& documentId);
    // Emits openDocument for a document that is ready.
    Q_INVOKABLE void open(const QString& documentId);
    Q_INVOKABLE void openRewards();
    Q_INVOKABLE void dismissMessages();
    // A course typed in by hand was created: the list reloads and names it.
    Q_INVOKABLE void courseCreated(const QString& courseId);
    AppContext* context() const { return context_; }
    void setContext(AppContext* context);

Q_SIGNALS:
    void contextChanged();
    void isLoadingChanged();
    void errorMessageChanged();
    void infoMessageChanged();
    void searchTextChanged();
    void filterChanged();
    void shownChanged();
    void pendingUploadChanged();
    void uploadChanged();
    void uploadProgressChanged();
    // courseId is empty for a document outside any course.
    void openDocument(const QString& documentId, const QString& title, const QString& courseId);

private:
    static async::Task<void> reload(DocumentsModel* self);
    static async::Task<std::optional<DocumentItem>> pollDocument(DocumentsModel* self, QString documentId);
    static async::Task<void> runUpload(DocumentsModel* self, QString path, std::optional<QString> courseId);
    static async::Task<void> runDelete(DocumentsModel* self, QString documentId);
    static async::Task<void> announceCourse(DocumentsModel* self, QString courseId);
    void watch(const QString& documentId);
    // The line for a document the watch saw ready or failed.
    void reportProcessed(const DocumentItem& document);
    std::function<void()> slowMarker(const QString& documentId);
    // An upload without a course that the backend is checking for a syllabus.
    void followSyllabus(const QString& documentId, const QString& filename);
    void finishSyllabusFollowUp(const std::optional<DocumentItem>& document, const QString& documentId,
                                const QString& filename);
    void showSyllabusOutcome(const QString& info, const QString& error);
    QString courseName(const QString& courseId) const;
    void refreshRows();
    std::optional<DocumentItem> document(const QString& documentId) const;
    void setLoading(bool loading);
    void setErrorMessage(const QString& message);
    void setInfoMessage(const QString& message);
    void setPendingPath(const QString& path);
    void setUploadingFilename(const QString& filename);
    void setUploadProgress(double progress);

    APIClient client_;
    QList<DocumentItem> documents_;
    QList<CourseSummary> courses_;
    QString searchText_;
    CourseFilter filter_;
    bool isLoading_ = false;
    QString errorMessage_;
    QString infoMessage_;
    QSet<QString> slowIds_;
    DocumentListModel rows_;
    QString pendingPath_;
    QString uploadingFilename_;
    double uploadProgress_ = -1;
    async::TaskScope::TaskId uploadTask_ = 0;
    SyllabusImport syllabus_;
    QPointer<AppContext> context_;
    async::TaskScope tasks_; // last: tasks end before what they use
};
