#include "Courses/CourseRoutes.h"

#include "Courses/SyllabusAnalyzer.h"
#include "Documents/DocumentText.h"
#include "Http/MultipartForm.h"
#include "Library/LibraryStore.h"
#include "ServerContext.h"
#include "Storage/RandomId.h"
#include "Terms/TextChunker.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

namespace {
const QStringList classInfoKeys = {"class_title", "class_description", "class_instructor",
                                   "class_date",  "class_time",        "class_location"};
}

JobQueue::Runner CourseRoutes::runner() {
    return {{}, [this](const JobQueue::Job& job) {
                return importSyllabus(job.userId, job.input.value("text").toString(),
                                      job.input.value("document_name").toString(), "txt",
                                      job.input.value("source").toString());
            }};
}

JobQueue::Outcome CourseRoutes::importSyllabus(const QString& userId, const QString& text,
                                               const QString& filename, const QString& fileType,
                                               const QString& source) {
    const SyllabusAnalyzer syllabus = SyllabusAnalyzer::analyze(text);
    const QString name = filename.isEmpty() ? QStringLiteral("Syllabus") : filename;
    const QString documentId = RandomId::make("doc");
    const int chunkCount = int(TextChunker::chunks(text).size());
    QJsonObject info = syllabus.classInfo();
    QJsonObject result{{"document_id", documentId},
                       {"chunk_count", chunkCount},
                       {"source", source},
                       {"extracted_data", info}};
    QString courseId;
    if (syllabus.isSyllabus) {
        if (!info.contains("class_title"))
            info.insert("class_title", QFileInfo(name).completeBaseName());
        courseId = RandomId::make("course");
        result.insert("status", "success");
        result.insert("message", "Created your course " + info.value("class_title").toString() + ".");
        result.insert("course_id", courseId);
        result.insert("course_name", info.value("class_title").toString());
        result.insert("extracted_data", info);
    } else {
        result.insert("status", "not_syllabus");
        result.insert("message", "We couldn't find class details in that text.");
    }
    return JobQueue::Outcome::success(result, [=, this] {
        if (!courseId.isEmpty()) {
            LibraryStore library(context_);
            library.createCourse(userId, info, documentId, courseId);
            library.buildStudyPlan(courseId);
        }
        LibraryStore(context_).addReadDocument(
            {{"id", documentId},
             {"user_id", userId},
             {"filename", name},
             {"title", QFileInfo(name).completeBaseName()},
             {"document_type", syllabus.isSyllabus ? "syllabus" : "reading"},
             {"file_type", fileType},
             {"file_size", text.toUtf8().size()},
             {"course_id", courseId.isEmpty() ? QVariant() : QVariant(courseId)},
             {"s3_key", userId + '/' + documentId + "/text"},
             {"chunk_count", chunkCount},
             {"text", text}});
    });
}

ServerResponse CourseRoutes::processDocument(const ServerRequest& request, const QString& userId) {
    if (request.header("content-type").startsWith("multipart/form-data"))
        return processFile(request, userId);
    const QJsonObject body = request.jsonBody();
    const QString text = body.value("document_content").toString().trimmed();
    if (text.size() < minimumTextLength)
        return ServerResponse::apiError(
            422, "empty_or_too_short: the syllabus text needs at least 50 characters.");
    const QString jobId = context_.jobs->enqueue(
        userId, jobType,
        QJsonObject{
            {"text", text},
            {"source", body.value("source").toString()},
            {"document_name", body.value("document_name").toString(body.value("filename").toString())}});
    return ServerResponse::json(QJsonObject{{"job_id", jobId}, {"status", "queued"}, {"job_type", jobType}});
}

ServerResponse CourseRoutes::processFile(const ServerRequest& request, const QString& userId) {
    const auto form = MultipartForm::parse(request.body, request.header("content-type"));
    if (!form || !form->file || form->file->name != "file")
        return ServerResponse::apiError(422, "Send the syllabus as a multipart part named \"file\".");
    if (form->file->data.size() > maxSyllabusBytes)
        return ServerResponse::apiError(413, "Syllabus files up to 5,500,000 bytes are accepted.");
    const QString filename = QFileInfo(form->file->filename).fileName();
    const QString path = QDir(context_.storageDir()).filePath(userId + "/syllabus-" + RandomId::make("file"));
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile saved(path);
    if (!saved.open(QIODevice::WriteOnly) || saved.write(form->file->data) < 0 || !saved.commit())
        return ServerResponse::apiError(500, "The file could not be stored.");
    const DocumentText extracted = DocumentText::extract(path, filename, form->file->contentType);
    QFile::remove(path);
    if (extracted.fileType.isEmpty())
        return ServerResponse::apiError(415, extracted.error);
    if (extracted.text.size() < minimumTextLength) {
        return ServerResponse::json(QJsonObject{
            {"status", "empty_or_too_short"},
            {"message",
             "empty_or_too_short: no text could be read from the file; it may hold only page images."},
            {"extracted_data", QJsonValue()}});
    }
    const JobQueue::Outcome imported =
        importSyllabus(userId, extracted.text, filename, extracted.fileType, form->fields.value("source"));
    context_.db.inTransaction([&] {
        imported.commit();
        return true;
    });
    const QJsonObject& result = imported.result;
    return ServerResponse::json(QJsonObject{{"status", result.value("status")},
                                            {"message", result.value("message")},
                                            {"extracted_data", result.value("extracted_data")},
                                            {"course_id", result.value("course_id")},
                                            {"document_id", result.value("document_id")}});
}

ServerResponse CourseRoutes::classInfo(const ServerRequest& request, const QString& userId) {
    const QJsonObject body = request.jsonBody();
    if (body.value("class_title").toString().trimmed().isEmpty())
        return ServerResponse::apiError(422, "class_title is required.");
    QJsonObject info;
    for (const QString& key : classInfoKeys) {
        const QString value = body.value(key).toString().trimmed();
        if (!value.isEmpty())
            info.insert(key, value);
    }
    QJsonArray topics;
    for (const QJsonValue& topic : body.value("topics").toArray()) {
        if (!topic.toString().trimmed().isEmpty())
            topics.append(topic.toString().trimmed());
    }
    if (!topics.isEmpty())
        info.insert("topics", topics);
    const QString courseId = LibraryStore(context_).createCourse(userId, info, {});
    return ServerResponse::json(QJsonObject{{"status", "success"},
                                            {"message", "Course created."},
                                            {"course_id", courseId},
                                            {"document_id", QJsonValue()}});
}

ServerResponse CourseRoutes::generateStudyPlan(const ServerRequest& request, const QString& userId) {
    const QJsonObject body = request.jsonBody();
    const QString courseId = body.value("course_id").toString();
    LibraryStore library(context_);
    const auto course = library.course(courseId, userId);
    if (!course)
        return ServerResponse::apiError(404, "No such course.");
    const QJsonObject syllabus = body.value("syllabus_info").toObject();
    QJsonObject info = QJsonDocument::fromJson(course->value("info").toByteArray()).object();
    const QList<QPair<QString, QString>> mapping = {{"instructor", "class_instructor"},
                                                    {"meeting_times", "class_time"},
                                                    {"course_description", "class_description"},
                                                    {"course_code", "course_code"}};
    for (const auto& [from, to] : mapping) {
        if (!syllabus.value(from).toString().isEmpty() && !info.contains(to))
            info.insert(to, syllabus.value(from).toString());
    }
    QStringList topics;
    if (!info.contains("topics")) {
        for (const QJsonValue& objective : syllabus.value("learning_objectives").toArray())
            topics.append(objective.toString());
    }
    if (!library.updateCourseInfo(courseId, info, topics))
        return ServerResponse::apiError(500, "The study plan could not be saved.");
    return ServerResponse::json(QJsonObject{{"status", "success"}, {"message", "Study plan created."}});
}
