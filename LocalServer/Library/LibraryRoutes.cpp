#include "Library/LibraryRoutes.h"

#include "Http/JsonNumbers.h"
#include "Http/PresignedUpload.h"
#include "Jobs/JobQueue.h"
#include "Jobs/JobStore.h"
#include "Library/DocumentProcessor.h"
#include "Library/LibraryStore.h"
#include "ServerContext.h"
#include "Storage/PrivateFile.h"
#include "Storage/RandomId.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>
#include <filesystem>

namespace {

// A file name safe as one path segment of a storage key.
QString safeName(const QString& filename) {
    QString name = QFileInfo(filename).fileName();
    name.replace(QRegularExpression("[^A-Za-z0-9._-]+"), "_");
    name.remove(QRegularExpression("^\\.+"));
    return name.isEmpty() ? QStringLiteral("upload") : name.left(120);
}

} // namespace

ServerResponse LibraryRoutes::initiate(const ServerRequest& request, const QString& userId) {
    const QJsonObject body = request.jsonBody();
    const QString filename = body.value("filename").toString().trimmed();
    const QJsonValue sizeValue = body.value("file_size");
    if (filename.isEmpty() || sizeValue.isUndefined())
        return ServerResponse::apiError(422, "filename and file_size are required.");
    // An empty file is accepted: processing then says "The uploaded file is empty."
    const auto size = JsonNumbers::integerWithin(sizeValue, 0, maxUploadBytes);
    // Any number past the limit is too large; anything else that is no byte count is malformed.
    if (!size && sizeValue.toDouble() > maxUploadBytes)
        return ServerResponse::apiError(413, "Files up to 64 MB can be uploaded.");
    if (!size)
        return ServerResponse::apiError(422, "file_size must be a whole number of bytes.");
    const QString courseId = body.value("course_id").toString();
    if (!courseId.isEmpty() && !LibraryStore(context_).course(courseId, userId))
        return ServerResponse::apiError(404, "No such course.");

    const QString documentId = RandomId::make("doc");
    const QString key = userId + '/' + documentId + '/' + safeName(filename);
    LibraryStore(context_).addUpload({{"id", documentId},
                                      {"user_id", userId},
                                      {"filename", QFileInfo(filename).fileName()},
                                      {"content_type", body.value("content_type").toString()},
                                      {"file_size", *size},
                                      {"course_id", courseId.isEmpty() ? QVariant() : QVariant(courseId)},
                                      {"s3_key", key},
                                      {"uploaded_at", context_.isoNow()},
                                      {"created_at", context_.nowMs()}});
    const QUrl url = PresignedUpload::url(context_, "/storage/", "PUT", key, uploadUrlLifetimeSeconds);
    return ServerResponse::json(QJsonObject{{"presigned_url", url.toString(QUrl::FullyEncoded)},
                                            {"document_id", documentId},
                                            {"s3_key", key},
                                            {"expires_in", uploadUrlLifetimeSeconds}});
}

ServerResponse LibraryRoutes::store(const ServerRequest& request) {
    const QString key = request.param(0);
    LibraryStore library(context_);
    const auto document = library.documentByKey(key);
    if (!document ||
        (document->value("status") != "awaiting_upload" && document->value("status") != "uploaded"))
        return PresignedUpload::error(409, "InvalidObjectState", "The upload for this key is closed.");
    const QString path = QDir(context_.storageDir()).filePath(key);
    QDir().mkpath(QFileInfo(path).path());
    // The body arrived on disk beside the storage; it takes the place of an earlier upload whole.
    std::error_code moved;
    std::filesystem::rename(QFile::encodeName(request.bodyFile).toStdString(),
                            QFile::encodeName(path).toStdString(), moved);
    if (request.bodyFile.isEmpty() || moved || !PrivateFile::restrictFile(path))
        return PresignedUpload::error(500, "InternalError", "The object could not be stored.");
    library.markUploaded(document->value("id").toString(), QFileInfo(path).size());
    return ServerResponse::empty(200);
}

ServerResponse LibraryRoutes::complete(const ServerRequest& request, const QString& userId) {
    const QJsonObject body = request.jsonBody();
    const QString documentId = body.value("document_id").toString();
    if (documentId.isEmpty() || !body.value("skip_syllabus_extraction").isBool())
        return ServerResponse::apiError(422,
                                        "document_id, s3_key and skip_syllabus_extraction are required.");
    LibraryStore library(context_);
    const auto document = library.document(documentId, userId);
    if (!document || document->value("s3_key").toString() != body.value("s3_key").toString())
        return ServerResponse::apiError(404, "No such upload.");
    const QString status = document->value("status").toString();
    if (status == "awaiting_upload")
        return ServerResponse::apiError(409, "The file has not been uploaded yet.");
    if (status != "uploaded")
        return ServerResponse::apiError(409, "This upload has already been completed.");
    QString courseId = body.value("course_id").toString();
    if (!courseId.isEmpty() && !library.course(courseId, userId))
        return ServerResponse::apiError(404, "No such course.");
    if (courseId.isEmpty())
        courseId = document->value("course_id").toString();
    const QString original = QFileInfo(body.value("original_filename").toString()).fileName();
    const bool checkSyllabus = !body.value("skip_syllabus_extraction").toBool() && courseId.isEmpty();
    // The "queued" status and the job that moves the document on are written together: a crash
    // in between would leave a document queued for ever, its upload closed.
    bool alreadyQueued = false;
    const QString jobId = LibraryStore(context_).queueUpload(
        documentId, courseId.isEmpty() ? QVariant() : QVariant(courseId),
        original.isEmpty() ? document->value("filename") : QVariant(original),
        [&] {
            return context_.jobs->add(
                userId, DocumentProcessor::jobType,
                QJsonObject{{"document_id", documentId}, {"check_syllabus", checkSyllabus}});
        },
        &alreadyQueued);
    if (jobId.isEmpty())
        return alreadyQueued ? ServerResponse::apiError(409, "This upload has already been completed.")
                             : ServerResponse::apiError(500, "The upload could not be completed.");
    context_.jobs->schedule(jobId);
    QJsonObject answer{{"status", "queued"}, {"document_id", documentId}};
    // A job id tells the app that the file is being checked as a syllabus.
    if (checkSyllabus) {
        answer.insert("job_id", jobId);
        answer.insert("job_type", DocumentProcessor::jobType);
    }
    return ServerResponse::json(answer);
}

ServerResponse LibraryRoutes::remove(const QString& documentId, const QString& userId) {
    const auto document = LibraryStore(context_).document(documentId, userId);
    if (!document)
        return ServerResponse::apiError(404, "No such document.");
    if (!LibraryStore(context_).removeDocument(documentId, userId))
        return ServerResponse::apiError(500, "The document could not be deleted. Please try again.");
    return ServerResponse::json(QJsonObject{{"status", "deleted"}, {"message", "Document deleted."}});
}

ServerResponse LibraryRoutes::processingStatus(const QString& documentId, const QString& userId) {
    const auto document = LibraryStore(context_).document(documentId, userId);
    const auto job = JobStore(context_.db).latestForDocument(userId, DocumentProcessor::jobType, documentId);
    // Uploads never completed have no processing job and are not in the library yet.
    if (!document || !job)
        return ServerResponse::apiError(404, "No such document.");
    const QString status = document->value("status").toString();
    const QString failureReason = document->value("failure_reason").toString();
    double progress = 0;
    QString step = "Waiting to be processed";
    if (status == "processing") {
        progress = 0.5;
        step = "Reading the text";
    } else if (status == "ready") {
        progress = 1;
        step = "Ready";
    } else if (status == "failed") {
        progress = 1;
        step = "Failed";
    }
    QString updatedAt = job->completedAt;
    if (updatedAt.isEmpty())
        updatedAt = job->startedAt;
    if (updatedAt.isEmpty())
        updatedAt = job->createdAt;
    return ServerResponse::json(
        QJsonObject{{"task_id", job->id},
                    {"document_id", documentId},
                    {"status", status},
                    {"progress", progress},
                    {"current_step", step},
                    {"updated_at", updatedAt},
                    {"failure_reason", failureReason.isEmpty() ? QJsonValue() : QJsonValue(failureReason)}});
}

ServerResponse LibraryRoutes::job(const QString& jobId, const QString& userId) {
    const auto status = context_.jobs->statusJson(jobId, userId);
    if (!status)
        return ServerResponse::apiError(404, "No such job.");
    return ServerResponse::json(*status);
}
