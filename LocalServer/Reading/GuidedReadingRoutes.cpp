#include "Reading/GuidedReadingRoutes.h"

#include "Library/LibraryStore.h"
#include "ServerContext.h"
#include "Storage/RandomId.h"

#include <QJsonArray>
#include <QUrlQuery>

namespace {

QString titleOf(const QVariantMap& document) {
    const QString title = document.value("title").toString();
    return title.isEmpty() ? document.value("filename").toString() : title;
}

} // namespace

JobQueue::Runner GuidedReadingRoutes::runner() {
    return {{}, [this](const JobQueue::Job& job) { return regenerateQueued(job); }};
}

GuidedReadingRoutes::Target GuidedReadingRoutes::target(const QString& userId, const QString& courseId,
                                                        const QString& templateType,
                                                        const QString& documentId) {
    Target out;
    out.key = {userId, courseId, documentId, templateType};
    LibraryStore library(context_);
    const auto course = library.course(courseId, userId);
    if (!course) {
        out.refusal = ServerResponse::apiError(404, "No such course.");
        return out;
    }
    const auto style = ReadingStyle::named(templateType);
    if (!style) {
        out.refusal = ServerResponse::apiError(422, "template_type must be " +
                                                        ReadingStyle::types().mid(0, 4).join(", ") + " or " +
                                                        ReadingStyle::types().last() + ".");
        return out;
    }
    out.style = *style;
    out.chapterTitle = course->value("name").toString();
    if (documentId.isEmpty())
        return out;
    const auto document = library.document(documentId, userId);
    if (!document || (document->value("course_id").toString() != courseId &&
                      course->value("document_id").toString() != documentId)) {
        out.refusal = ServerResponse::apiError(404, "No such document in this course.");
        return out;
    }
    out.bookTitle = out.chapterTitle;
    out.chapterTitle = titleOf(*document);
    return out;
}

GuidedReadingRoutes::Sources GuidedReadingRoutes::sources(const GuidedReadingStore::Key& key) {
    Sources out;
    QList<QVariantMap> rows;
    if (!key.documentId.isEmpty()) {
        const auto document = LibraryStore(context_).document(key.documentId, key.userId);
        out.processing = !document || document->value("status").toString() != "ready";
        if (!out.processing)
            rows.append(*document);
    } else {
        // The course's own documents and the syllabus it was made from.
        rows = LibraryStore(context_).courseTexts(key.userId, key.courseId);
    }
    for (const QVariantMap& row : rows) {
        const QString text = row.value("text").toString();
        if (text.trimmed().isEmpty())
            continue;
        out.documents.append({titleOf(row), text});
        out.chars += text.size();
    }
    return out;
}

QJsonObject GuidedReadingRoutes::planJson(const Target& target, const Sources& sources) {
    const QString now = context_.isoNow();
    const QJsonObject guide = ReadingGuideWriter::write(
        sources.documents, {target.style, target.chapterTitle, target.bookTitle, RandomId::make("grt"), now});
    const QJsonObject previous = GuidedReadingStore(context_).plan(target.key).value_or(QJsonObject{});
    return {{"plan_id", previous.value("plan_id").toString(RandomId::make("grp"))},
            {"course_id", target.key.courseId},
            {"user_id", target.key.userId},
            {"templates", QJsonArray{guide}},
            {"generated_at", previous.value("generated_at").toString(now)},
            {"last_updated", now}};
}

ServerResponse GuidedReadingRoutes::plan(const ServerRequest& request, const QString& userId) {
    const Target found = target(userId, request.param(0), request.query.queryItemValue("template_type"),
                                request.query.queryItemValue("document_id"));
    if (found.refusal)
        return *found.refusal;
    const auto stored = GuidedReadingStore(context_).plan(found.key);
    if (!stored)
        return ServerResponse::apiError(404, found.key.documentId.isEmpty()
                                                 ? "No reading guide yet for this course in this style."
                                                 : "No reading guide yet for this document in this style.");
    return ServerResponse::json(*stored);
}

ServerResponse GuidedReadingRoutes::regenerate(const ServerRequest& request, const QString& userId) {
    const Target found = target(userId, request.param(0), request.query.queryItemValue("template_type"),
                                request.query.queryItemValue("document_id"));
    if (found.refusal)
        return *found.refusal;
    const Sources text = sources(found.key);
    if (text.processing)
        return ServerResponse::apiError(409, "The document has not finished processing.");
    if (text.documents.isEmpty())
        return ServerResponse::apiError(422, "This course has no processed documents with text yet. Upload "
                                             "notes or a reading to write a guide from.");
    if (text.chars > inlineTextLimit) {
        const QString jobId = context_.jobs->enqueue(userId, jobType,
                                                     QJsonObject{{"course_id", found.key.courseId},
                                                                 {"document_id", found.key.documentId},
                                                                 {"template_type", found.key.templateType}});
        return ServerResponse::json(
            QJsonObject{{"status", "queued"},
                        {"job_id", jobId},
                        {"job_type", jobType},
                        {"message", "Writing a reading guide from this course's text."}});
    }
    const QJsonObject plan = planJson(found, text);
    if (!GuidedReadingStore(context_).store(found.key, plan))
        return ServerResponse::apiError(500, "The reading guide could not be saved.");
    return ServerResponse::json(plan);
}

JobQueue::Outcome GuidedReadingRoutes::regenerateQueued(const JobQueue::Job& job) {
    const Target found =
        target(job.userId, job.input.value("course_id").toString(),
               job.input.value("template_type").toString(), job.input.value("document_id").toString());
    if (found.refusal)
        return JobQueue::Outcome::failure("The course or document was deleted.");
    const Sources text = sources(found.key);
    if (text.documents.isEmpty())
        return JobQueue::Outcome::failure("There is no text left to write a reading guide from.");
    const QJsonObject plan = planJson(found, text);
    return JobQueue::Outcome::success(
        plan, [this, key = found.key, plan] { GuidedReadingStore(context_).store(key, plan); });
}
