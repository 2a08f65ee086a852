#include "Flashcards/VocabularyRoutes.h"

#include "Flashcards/VocabularyStore.h"
#include "Flashcards/VocabularyJson.h"
#include "Library/LibraryStore.h"
#include "ServerContext.h"
#include "Terms/KeyTermEngine.h"
#include "Terms/WordNet.h"

#include <QJsonDocument>

JobQueue::Runner VocabularyRoutes::runner() {
    return {{}, [this](const JobQueue::Job& job) { return extract(job); }};
}

bool VocabularyRoutes::ownsCourse(const QString& courseId, const QString& userId) {
    return LibraryStore(context_).course(courseId, userId).has_value();
}

std::optional<QJsonArray> VocabularyRoutes::storedTerms(const QString& courseId) {
    return VocabularyStore(context_).terms(courseId);
}

void VocabularyRoutes::store(const QString& courseId, const QString& userId, const QJsonArray& terms) {
    VocabularyStore(context_).save(courseId, userId, terms);
}

ServerResponse VocabularyRoutes::read(const QString& courseId, const QString& userId) {
    if (!ownsCourse(courseId, userId))
        return ServerResponse::apiError(404, "No such course.");
    const auto terms = storedTerms(courseId);
    return ServerResponse::json(QJsonObject{{"status", terms ? "complete" : "not_generated"},
                                            {"vocabulary", terms.value_or(QJsonArray())},
                                            {"count", terms ? terms->size() : 0}});
}

ServerResponse VocabularyRoutes::generate(const QString& courseId, const QString& userId) {
    if (!ownsCourse(courseId, userId))
        return ServerResponse::apiError(404, "No such course.");
    const QString jobId = context_.jobs->enqueue(userId, jobType, QJsonObject{{"course_id", courseId}});
    return ServerResponse::json(QJsonObject{{"status", "queued"},
                                            {"job_id", jobId},
                                            {"job_type", jobType},
                                            {"message", "Finding this course's key terms."}});
}

JobQueue::Outcome VocabularyRoutes::extract(const JobQueue::Job& job) {
    const QString courseId = job.input.value("course_id").toString();
    if (!ownsCourse(courseId, job.userId))
        return JobQueue::Outcome::failure("The course was deleted.");
    // The course's own documents and the syllabus it was made from.
    QStringList texts;
    for (const QVariantMap& row : LibraryStore(context_).courseTexts(job.userId, courseId))
        texts.append(row.value("text").toString());
    const QJsonArray terms = VocabularyJson::records(KeyTermEngine::keyTerms(texts));
    const QString message = texts.isEmpty() ? QStringLiteral("This course has no processed documents yet.")
                            : terms.isEmpty()
                                ? QStringLiteral("No defined terms were found in this course's documents.")
                                : QStringLiteral("Found %1 key terms.").arg(terms.size());
    return JobQueue::Outcome::success(
        QJsonObject{
            {"status", "complete"}, {"course_id", courseId}, {"count", terms.size()}, {"message", message}},
        [=, this] { store(courseId, job.userId, terms); });
}

ServerResponse VocabularyRoutes::enrich(const QString& courseId, const QString& userId) {
    if (!ownsCourse(courseId, userId))
        return ServerResponse::apiError(404, "No such course.");
    const auto stored = storedTerms(courseId);
    if (!stored)
        return ServerResponse::apiError(409, "Generate this course's vocabulary first.");
    // WordNet is read before the transaction; a generation finishing meanwhile wins over this.
    QHash<QString, WordNet::Entry> entries;
    for (const QJsonValue& value : *stored) {
        const QString term = value.toObject().value("term").toString();
        if (const auto entry = WordNet::lookup(term))
            entries.insert(term, *entry);
    }
    const QJsonArray terms = VocabularyStore(context_).update(courseId, userId, [&](QJsonArray terms) {
        for (QJsonValueRef value : terms) {
            QJsonObject term = value.toObject();
            const auto entry = entries.constFind(term.value("term").toString());
            if (entry == entries.constEnd())
                continue;
            term.insert("synonyms", entry->synonyms);
            term.insert("antonyms", entry->antonyms);
            term.insert("related_terms", entry->relatedTerms);
            value = term;
        }
        return terms;
    });
    return ServerResponse::json(
        QJsonObject{{"status", "complete"}, {"vocabulary", terms}, {"count", terms.size()}});
}
