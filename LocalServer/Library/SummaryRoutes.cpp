#include "Library/SummaryRoutes.h"

#include "Library/LibraryStore.h"
#include "Library/Summarizer.h"
#include "ServerContext.h"

#include <QJsonDocument>

JobQueue::Runner SummaryRoutes::runner() {
    return {{}, [this](const JobQueue::Job& job) { return summarize(job); }};
}

ServerResponse SummaryRoutes::read(const QString& documentId, const QString& userId) {
    if (!LibraryStore(context_).document(documentId, userId))
        return ServerResponse::apiError(404, "No such document.");
    const auto summary = storedSummary(documentId);
    if (!summary)
        return ServerResponse::json(QJsonObject{{"status", "not_generated"}});
    return ServerResponse::json(QJsonObject{{"status", "complete"}, {"summary", *summary}});
}

ServerResponse SummaryRoutes::generate(const ServerRequest& request, const QString& userId) {
    const QJsonObject body = request.jsonBody();
    const QString documentId = body.value("document_id").toString();
    const QJsonValue force = body.value("force_regenerate");
    if (!(force.isBool() || force.isUndefined()))
        return ServerResponse::apiError(422, "force_regenerate must be true or false.");
    const auto document = LibraryStore(context_).document(documentId, userId);
    if (!document)
        return ServerResponse::apiError(404, "No such document.");
    if (document->value("status").toString() != "ready")
        return ServerResponse::apiError(409, "The document has not finished processing.");
    // Notes already made are answered at once unless new ones are asked for.
    if (!force.toBool() && storedSummary(documentId))
        return read(documentId, userId);
    const QString jobId = context_.jobs->enqueue(
        userId, jobType, QJsonObject{{"document_id", documentId}, {"force_regenerate", force.toBool()}});
    return ServerResponse::json(QJsonObject{{"job_id", jobId}, {"status", "queued"}, {"job_type", jobType}});
}

std::optional<QJsonObject> SummaryRoutes::storedSummary(const QString& documentId) {
    return LibraryStore(context_).summary(documentId);
}

JobQueue::Outcome SummaryRoutes::summarize(const JobQueue::Job& job) {
    const QString documentId = job.input.value("document_id").toString();
    const auto document = LibraryStore(context_).document(documentId, job.userId);
    if (!document)
        return JobQueue::Outcome::failure("The document was deleted.");
    const KeyTermEngine::Analysis analysis = KeyTermEngine::analyze({document->value("text").toString()});
    // Regenerated notes read differently from the ones they replace whenever the text allows.
    const Summarizer notes =
        job.input.value("force_regenerate").toBool()
            ? Summarizer::regenerate(analysis, storedSummary(documentId).value_or(QJsonObject()))
            : Summarizer::summarize(analysis);
    const QJsonObject summary = notes.toJson(document->value("document_type").toString(), context_.isoNow());
    return JobQueue::Outcome::success(QJsonObject{{"status", "complete"}, {"summary", summary}}, [=, this] {
        LibraryStore(context_).saveSummary(documentId, job.userId, summary);
    });
}
