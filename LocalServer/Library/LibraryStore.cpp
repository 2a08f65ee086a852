#include "Library/LibraryStore.h"

#include "Courses/MeetingDays.h"
#include "Courses/StudyPlanBuilder.h"
#include "Courses/StudySchedule.h"
#include "Courses/TermStart.h"
#include "Jobs/FailPoint.h"
#include "ServerContext.h"
#include "Storage/RandomId.h"
#include "Storage/UserTimeZone.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>

namespace {
QJsonValue text(const QVariant& value) {
    return value.isNull() ? QJsonValue() : QJsonValue(value.toString());
}

// Bytes that arrived for an upload never completed wait for "complete": the app shows such a
// document as still to come, never as one it can open.
QString listedStatus(const QString& status) {
    return status == QLatin1String("uploaded") ? QStringLiteral("pending") : status;
}
} // namespace

std::optional<QVariantMap> LibraryStore::document(const QString& id, const QString& userId) {
    return context_.db.row("SELECT * FROM documents WHERE id = ? AND user_id = ?", {id, userId});
}

std::optional<QVariantMap> LibraryStore::course(const QString& id, const QString& userId) {
    return context_.db.row("SELECT * FROM courses WHERE id = ? AND user_id = ?", {id, userId});
}

void LibraryStore::addUpload(const QVariantMap& document) {
    context_.db.exec(
        "INSERT INTO documents (id, user_id, filename, content_type, file_size, course_id, s3_key, status,"
        " uploaded_at, created_at) VALUES (?, ?, ?, ?, ?, ?, ?, 'awaiting_upload', ?, ?)",
        {document.value("id"), document.value("user_id"), document.value("filename"),
         document.value("content_type"), document.value("file_size"), document.value("course_id"),
         document.value("s3_key"), document.value("uploaded_at"), document.value("created_at")});
}

void LibraryStore::addReadDocument(const QVariantMap& document) {
    context_.db.exec(
        "INSERT INTO documents (id, user_id, filename, title, document_type, file_type, file_size,"
        " course_id, s3_key, status, chunk_count, text, uploaded_at, created_at)"
        " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, 'ready', ?, ?, ?, ?)",
        {document.value("id"), document.value("user_id"), document.value("filename"), document.value("title"),
         document.value("document_type"), document.value("file_type"), document.value("file_size"),
         document.value("course_id"), document.value("s3_key"), document.value("chunk_count"),
         document.value("text"), context_.isoNow(), context_.nowMs()});
}

std::optional<QVariantMap> LibraryStore::documentByKey(const QString& key) {
    return context_.db.row("SELECT id, status FROM documents WHERE s3_key = ?", {key});
}

void LibraryStore::markUploaded(const QString& documentId, qint64 fileSize) {
    context_.db.exec("UPDATE documents SET status = 'uploaded', file_size = ? WHERE id = ?",
                     {fileSize, documentId});
}

QString LibraryStore::queueUpload(const QString& documentId, const QVariant& courseId,
                                  const QVariant& filename, const std::function<QString()>& addJob,
                                  bool* alreadyQueued) {
    Database& db = context_.db;
    bool queued = false;
    QString jobId;
    const bool added = db.inTransaction([&] {
        queued = db.changed("UPDATE documents SET status = 'queued', course_id = ?, filename = ? WHERE id = ?"
                            " AND status = 'uploaded'",
                            {courseId, filename, documentId}) == 1;
        FailPoint::reach("upload-queued");
        jobId = queued ? addJob() : QString();
        return !jobId.isEmpty();
    });
    *alreadyQueued = !added && !queued;
    return added ? jobId : QString();
}

std::optional<QJsonObject> LibraryStore::summary(const QString& documentId) {
    const auto row = context_.db.row("SELECT summary FROM summaries WHERE document_id = ?", {documentId});
    if (!row)
        return std::nullopt;
    return QJsonDocument::fromJson(row->value("summary").toByteArray()).object();
}

void LibraryStore::saveSummary(const QString& documentId, const QString& userId, const QJsonObject& summary) {
    context_.db.exec(
        "INSERT INTO summaries (document_id, user_id, summary) VALUES (?, ?, ?)"
        " ON CONFLICT (document_id) DO UPDATE SET user_id = excluded.user_id, summary = excluded.summary",
        {documentId, userId, QString::fromUtf8(QJsonDocument(summary).toJson(QJsonDocument::Compact))});
}

void LibraryStore::setFileType(const QString& documentId, const QString& fileType) {
    context_.db.exec("UPDATE documents SET file_type = ? WHERE id = ?",
                     {fileType.isEmpty() ? QVariant() : QVariant(fileType), documentId});
}

void LibraryStore::markReady(const QString& documentId, const QVariantMap& read) {
    context_.db.exec(
        "UPDATE documents SET text = ?, chunk_count = ?, file_type = ?, document_type = ?, title = ?,"
        " course_id = ?, status = 'ready', failure_reason = NULL WHERE id = ?",
        {read.value("text"), read.value("chunk_count"), read.value("file_type"), read.value("document_type"),
         read.value("title"), read.value("course_id"), documentId});
}

QList<QVariantMap> LibraryStore::courseTexts(const QString& userId, const QString& courseId) {
    return context_.db.rows(
        "SELECT title, filename, text FROM documents WHERE user_id = ? AND status = 'ready'"
        " AND text IS NOT NULL AND (course_id = ? OR id = (SELECT document_id FROM"
        " courses WHERE id = ?)) ORDER BY created_at, id",
        {userId, courseId, courseId});
}

std::optional<QVariantMap> LibraryStore::songDocument(const QString& userId, const QString& courseId) {
    const QString choice = " ORDER BY document_type = 'syllabus', length(text) DESC, created_at DESC LIMIT 1";
    const QString ready = "SELECT * FROM documents WHERE user_id = ? AND status = 'ready' AND text <> ''";
    if (courseId.isEmpty())
        return context_.db.row(ready + choice, {userId});
    return context_.db.row(ready + " AND course_id = ?" + choice, {userId, courseId});
}

QJsonArray LibraryStore::documents(const QString& userId) {
    QJsonArray list;
    for (const QVariantMap& row :
         context_.db.rows("SELECT * FROM documents WHERE user_id = ? AND status != 'awaiting_upload'"
                          " ORDER BY created_at DESC, id",
                          {userId}))
        list.append(documentJson(row));
    return list;
}

QJsonArray LibraryStore::courses(const QString& userId) {
    QJsonArray list;
    for (const QVariantMap& row :
         context_.db.rows("SELECT * FROM courses WHERE user_id = ? ORDER BY created_at, id", {userId}))
        list.append(courseJson(row));
    return list;
}

QJsonObject LibraryStore::documentJson(const QVariantMap& row) const {
    return QJsonObject{
        {"id", row.value("id").toString()},
        {"document_id", row.value("id").toString()},
        {"filename", row.value("filename").toString()},
        {"title", text(row.value("title"))},
        {"document_type", text(row.value("document_type"))},
        {"file_type", text(row.value("file_type"))},
        {"course_id", text(row.value("course_id"))},
        {"chunk_count", row.value("chunk_count").isNull() ? QJsonValue() : row.value("chunk_count").toInt()},
        {"uploaded_at", text(row.value("uploaded_at"))},
        {"status", listedStatus(row.value("status").toString())},
        {"failure_reason", text(row.value("failure_reason"))}};
}

QJsonObject LibraryStore::courseJson(const QVariantMap& row) const {
    const QJsonObject info = QJsonDocument::fromJson(row.value("info").toByteArray()).object();
    QJsonObject course{{"course_id", row.value("id").toString()},
                       {"course_name", row.value("name").toString()},
                       {"document_id", text(row.value("document_id"))},
                       {"class_information", info},
                       {"created_at", row.value("created_at").toLongLong()}};
    const QJsonObject plan = QJsonDocument::fromJson(row.value("study_plan").toByteArray()).object();
    course.insert("study_plan", plan.isEmpty() ? QJsonValue() : QJsonValue(plan));
    return course;
}

bool LibraryStore::removeDocument(const QString& id, const QString& userId) {
    Database& db = context_.db;
    const QString jobsOfDocument = "FROM jobs WHERE user_id = ? AND subject_id = ?";
    // Narrations made before audio had a folder per document are found through their playlists.
    QStringList audio;
    for (const QVariantMap& job : db.rows("SELECT result " + jobsOfDocument +
                                              " AND job_type = 'narration'"
                                              " AND result IS NOT NULL",
                                          {userId, id})) {
        const QJsonArray segments =
            QJsonDocument::fromJson(job.value("result").toByteArray()).object().value("segments").toArray();
        for (const QJsonValue& segment : segments) {
            const QString url = segment.toObject().value("url").toString();
            const qsizetype at = url.indexOf("/media/");
            const QString relative = at < 0 ? QString() : url.mid(at + 7);
            if (relative.startsWith(userId + '/') && !relative.contains(".."))
                audio.append(relative);
        }
    }
    const bool deleted = db.inTransaction([&] {
        return db.exec("DELETE " + jobsOfDocument, {userId, id}) &&
               db.exec("DELETE FROM summaries WHERE document_id = ?", {id}) &&
               db.exec("DELETE FROM flashcards WHERE document_id = ? AND user_id = ?", {id, userId}) &&
               db.exec("DELETE FROM mnemonics WHERE document_id = ? AND user_id = ?", {id, userId}) &&
               db.exec("DELETE FROM foryou_concepts WHERE document_id = ? AND user_id = ?", {id, userId}) &&
               db.exec("DELETE FROM guided_reading_plans WHERE document_id = ? AND user_id = ?",
                       {id, userId}) &&
               // Its "notes are ready" notification would lead to nothing.
               db.exec("DELETE FROM notifications WHERE user_id = ? AND event_key = ?",
                       {userId, notesReadyEvent(id)}) &&
               // A course made from this syllabus stays, without its source.
               db.exec("UPDATE courses SET document_id = NULL WHERE document_id = ? AND user_id = ?",
                       {id, userId}) &&
               db.exec("DELETE FROM documents WHERE id = ? AND user_id = ?", {id, userId});
    });
    if (!deleted)
        return false;
    const QDir media(context_.mediaDir());
    for (const QString& relative : audio)
        QFile::remove(media.filePath(relative));
    QDir(media.filePath(userId + '/' + id)).removeRecursively();
    QDir(QDir(context_.storageDir()).filePath(userId + '/' + id)).removeRecursively();
    return true;
}

QList<QVariantMap> LibraryStore::unqueued(const QString& jobType) {
    return context_.db.rows(
        "SELECT id, user_id, course_id FROM documents WHERE status = 'queued' AND NOT EXISTS"
        " (SELECT 1 FROM jobs WHERE job_type = ? AND status IN ('queued', 'processing')"
        " AND subject_id = documents.id)",
        {jobType});
}

void LibraryStore::setDocumentStatus(const QString& id, const QString& status, const QString& failureReason) {
    context_.db.exec("UPDATE documents SET status = ?, failure_reason = ? WHERE id = ?",
                     {status, failureReason.isEmpty() ? QVariant() : QVariant(failureReason), id});
}

QString LibraryStore::createCourse(const QString& userId, const QJsonObject& info, const QString& documentId,
                                   const QString& givenId) {
    const QString id = givenId.isEmpty() ? RandomId::make("course") : givenId;
    context_.db.exec(
        "INSERT INTO courses (id, user_id, name, info, document_id, created_at) VALUES (?, ?, ?, ?, ?, ?)",
        {id, userId, info.value("class_title").toString(),
         QString::fromUtf8(QJsonDocument(info).toJson(QJsonDocument::Compact)),
         documentId.isEmpty() ? QVariant() : QVariant(documentId), context_.nowMs()});
    return id;
}

bool LibraryStore::updateCourseInfo(const QString& courseId, const QJsonObject& info,
                                    const QStringList& topics) {
    return context_.db.inTransaction([&] {
        if (!context_.db.exec(
                "UPDATE courses SET info = ? WHERE id = ?",
                {QString::fromUtf8(QJsonDocument(info).toJson(QJsonDocument::Compact)), courseId}))
            return false;
        buildStudyPlan(courseId, topics);
        return true;
    });
}

void LibraryStore::buildStudyPlan(const QString& courseId, const QStringList& topics) {
    const auto row = context_.db.row("SELECT * FROM courses WHERE id = ?", {courseId});
    if (!row)
        return;
    const QJsonObject info = QJsonDocument::fromJson(row->value("info").toByteArray()).object();
    QStringList planTopics = topics;
    if (planTopics.isEmpty()) {
        for (const QJsonValue& topic : info.value("topics").toArray())
            planTopics.append(topic.toString());
    }
    const QJsonObject plan =
        StudyPlanBuilder::build(courseId, row->value("name").toString(), planTopics, context_.isoNow());
    const QJsonObject dated = datedPlan(*row, plan);
    context_.db.exec("UPDATE courses SET study_plan = ? WHERE id = ?",
                     {QString::fromUtf8(QJsonDocument(dated).toJson(QJsonDocument::Compact)), courseId});
}

QJsonObject LibraryStore::datedPlan(const QVariantMap& course, const QJsonObject& plan) {
    const QJsonObject info = QJsonDocument::fromJson(course.value("info").toByteArray()).object();
    const UserTimeZone zone = UserTimeZone::of(context_.db, course.value("user_id").toString());
    const QDate created =
        QDateTime::fromMSecsSinceEpoch(course.value("created_at").toLongLong(), zone.zone).date();
    const auto termStart = TermStart::parse(info.value("class_date").toString(), created);
    return StudySchedule::datePlan(plan, termStart.value_or(created),
                                   termStart ? QStringLiteral("class_date")
                                             : QStringLiteral("course_created"),
                                   MeetingDays::parse(info.value("class_time").toString()));
}
