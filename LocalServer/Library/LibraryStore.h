#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <functional>
#include <optional>

struct ServerContext;

// The user's documents and courses and their wire records.
class LibraryStore {
public:
    explicit LibraryStore(ServerContext& context) : context_(context) {}

    // The event key of the notification that a document's notes are ready.
    static QString notesReadyEvent(const QString& documentId) { return "document:" + documentId; }

    std::optional<QVariantMap> document(const QString& id, const QString& userId);
    std::optional<QVariantMap> course(const QString& id, const QString& userId);
    // Documents whose upload has been completed, newest first.
    QJsonArray documents(const QString& userId);
    // The title, filename and text of the course's own ready documents and of the syllabus it was
    // made from, oldest first.
    QList<QVariantMap> courseTexts(const QString& userId, const QString& courseId);
    // The ready document to make a song from, of the course when one is given: a syllabus last,
    // then the longest text, then the newest.
    std::optional<QVariantMap> songDocument(const QString& userId, const QString& courseId);
    QJsonArray courses(const QString& userId);
    QJsonObject documentJson(const QVariantMap& row) const;
    QJsonObject courseJson(const QVariantMap& row) const;
    // Deletes the document with its stored file, summary, jobs, stored mnemonics, feed concepts, reading
    // guides, narration audio and the notification that its notes were ready. False when the
    // rows could not be deleted; the document and its files then stay.
    bool removeDocument(const QString& id, const QString& userId);
    // Documents "queued" with no unfinished job of `jobType` (left so by a crash of an older
    // version, which queued the job in a transaction of its own): id, user_id and course_id.
    QList<QVariantMap> unqueued(const QString& jobType);
    // A document whose file the app is about to upload to `key`.
    void addUpload(const QVariantMap& document);
    // A document whose text was read at once (a syllabus sent to the course routes): "ready" from
    // the start. `document` holds the columns: id, user_id, filename, title, document_type,
    // file_type, file_size, course_id, s3_key, chunk_count, text.
    void addReadDocument(const QVariantMap& document);
    std::optional<QVariantMap> documentByKey(const QString& key);
    void markUploaded(const QString& documentId, qint64 fileSize);
    // In one transaction: moves an uploaded document to "queued" with its course and file name and
    // adds its processing job (`addJob`, empty when it failed; it may be called again when the
    // transaction is retried). The job's id; empty when the
    // document was not "uploaded" (`*alreadyQueued`) or a write failed.
    QString queueUpload(const QString& documentId, const QVariant& courseId, const QVariant& filename,
                        const std::function<QString()>& addJob, bool* alreadyQueued);
    // The document's stored summary (DocumentSummary record), if it was summarized.
    std::optional<QJsonObject> summary(const QString& documentId);
    void saveSummary(const QString& documentId, const QString& userId, const QJsonObject& summary);
    void setFileType(const QString& documentId, const QString& fileType);
    // The document's text and what was read from it; it becomes "ready".
    void markReady(const QString& documentId, const QVariantMap& read);
    void setDocumentStatus(const QString& id, const QString& status, const QString& failureReason = {});
    // Creates a course from class details (class_title, class_instructor, …) and returns its id.
    QString createCourse(const QString& userId, const QJsonObject& info, const QString& documentId,
                         const QString& id = {});
    // In one transaction: replaces the course's class details and rebuilds the plan dated by them
    // (from `topics` when given). False when it could not be saved.
    bool updateCourseInfo(const QString& courseId, const QJsonObject& info, const QStringList& topics);
    // Builds and stores the course's study plan from its topics (or `topics` when given).
    void buildStudyPlan(const QString& courseId, const QStringList& topics = {});
    // `plan` with the dates of its weeks and study blocks (StudySchedule): from the week of the
    // course's class_date when it names a date, else of the day the course was created, in the
    // user's time zone; study blocks follow the class_time's meeting days.
    QJsonObject datedPlan(const QVariantMap& course, const QJsonObject& plan);

private:
    ServerContext& context_;
};
