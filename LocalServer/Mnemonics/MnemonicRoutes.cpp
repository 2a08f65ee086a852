#include "Mnemonics/MnemonicRoutes.h"

#include "Library/LibraryStore.h"
#include "Mnemonics/MnemonicGenerator.h"
#include "Mnemonics/MnemonicStore.h"
#include "Rewards/UserRewardStore.h"
#include "ServerContext.h"
#include "Storage/RandomId.h"
#include "Terms/KeyIdeas.h"

#include <QJsonObject>

namespace {

const QStringList textFields{"document_id", "course_id", "topic", "key_ideas", "content"};

// The request's fields checked and normalised: a missing optional text is an empty one. An
// empty object when the request is refused, with the reason in `error`.
QJsonObject normalised(const QJsonObject& body, QString* error) {
    const QString type = body.value("mnemonic_type").toString();
    if (!MnemonicGenerator::types().contains(type)) {
        *error = "mnemonic_type must be one of " + MnemonicGenerator::types().join(", ") + '.';
        return {};
    }
    const QString difficulty = body.value("difficulty").toString();
    if (!MnemonicGenerator::difficulties().contains(difficulty)) {
        *error = "difficulty must be one of " + MnemonicGenerator::difficulties().join(", ") + '.';
        return {};
    }
    if (!body.value("store").isBool()) {
        *error = "store must be true or false.";
        return {};
    }
    QJsonObject input{{"mnemonic_type", type}, {"difficulty", difficulty}, {"store", body.value("store")}};
    for (const QString& field : textFields) {
        const QJsonValue value = body.value(field);
        if (!value.isString() && !value.isNull() && !value.isUndefined()) {
            *error = field + " must be a string.";
            return {};
        }
        input.insert(field, value.toString().trimmed());
    }
    return input;
}

} // namespace

JobQueue::Runner MnemonicRoutes::runner() {
    return {{}, [this](const JobQueue::Job& job) { return run(job); }};
}

MnemonicRoutes::Sources MnemonicRoutes::sources(const QString& userId, const QJsonObject& input) {
    Sources found;
    LibraryStore library(context_);
    const QString documentId = input.value("document_id").toString();
    const QString courseId = input.value("course_id").toString();
    if (!courseId.isEmpty()) {
        const auto course = library.course(courseId, userId);
        if (!course) {
            found.refusal = ServerResponse::apiError(404, "No such course.");
            return found;
        }
        found.name = course->value("name").toString();
    }
    if (!documentId.isEmpty()) {
        const auto document = library.document(documentId, userId);
        if (!document) {
            found.refusal = ServerResponse::apiError(404, "No such document.");
            return found;
        }
        found.name = document->value("title").toString();
        if (found.name.isEmpty())
            found.name = document->value("filename").toString();
        found.waiting = document->value("status").toString() != "ready";
        if (!found.waiting)
            found.texts.append(document->value("text").toString());
    } else if (!courseId.isEmpty()) {
        // The course's own documents and the syllabus it was made from.
        found.course = true;
        for (const QVariantMap& row : LibraryStore(context_).courseTexts(userId, courseId))
            found.texts.append(row.value("text").toString());
    }
    if (const QString content = input.value("content").toString(); !content.isEmpty())
        found.texts.append(content);
    return found;
}

MnemonicRoutes::Made MnemonicRoutes::make(const QJsonObject& input, const Sources& sources) {
    const QList<KeyTerm> found = KeyIdeas::found(sources.texts);
    QList<KeyTerm> terms = KeyIdeas::parse(input.value("key_ideas").toString());
    const QString topic = input.value("topic").toString();
    if (terms.isEmpty())
        terms = found;
    else
        KeyIdeas::define(terms, found, sources.texts,
                         "A key idea of " + (!topic.isEmpty()          ? topic
                                             : !sources.name.isEmpty() ? sources.name
                                                                       : QStringLiteral("your notes")));
    if (MnemonicGenerator::usableTerms(terms).isEmpty()) {
        const QString where = !input.value("document_id").toString().isEmpty() ? "this document"
                              : sources.course                                 ? "this course's documents"
                                                                               : "the text given";
        return {{},
                QStringLiteral("No key terms were found in %1. Add key ideas (one per line, "
                               "\"term: meaning\") to make a mnemonic from.")
                    .arg(where)};
    }
    const MnemonicGenerator::Mnemonic mnemonic = MnemonicGenerator::generate(
        {input.value("mnemonic_type").toString(), input.value("difficulty").toString(), topic, terms});
    QJsonObject record{{"success", true},
                       {"mnemonic", mnemonic.html},
                       {"explanation", mnemonic.explanation},
                       {"type", mnemonic.type},
                       {"difficulty", input.value("difficulty").toString()},
                       {"created_at", context_.isoNow()}};
    if (input.value("store").toBool())
        record.insert("mnemonic_id", RandomId::make("mnem"));
    return {record, {}};
}

void MnemonicRoutes::store(const QString& userId, const QJsonObject& input, const QJsonObject& record) {
    if (!record.contains("mnemonic_id"))
        return;
    MnemonicStore(context_).add(record.value("mnemonic_id").toString(), userId,
                                input.value("document_id").toString(), input.value("course_id").toString(),
                                record);
    UserRewardStore(context_).fulfilMnemonic(userId, input.value("document_id").toString(), record);
}

ServerResponse MnemonicRoutes::generate(const ServerRequest& request, const QString& userId) {
    QString error;
    const QJsonObject input = normalised(request.jsonBody(), &error);
    if (input.isEmpty())
        return ServerResponse::apiError(422, error);
    const Sources found = sources(userId, input);
    if (found.refusal)
        return *found.refusal;
    const bool hasIdeas = !input.value("key_ideas").toString().isEmpty();
    if (input.value("document_id").toString().isEmpty() && input.value("course_id").toString().isEmpty() &&
        found.texts.isEmpty() && !hasIdeas)
        return ServerResponse::apiError(422, "Choose a document or a course, or give key ideas.");
    if (found.waiting && found.texts.isEmpty() && !hasIdeas)
        return ServerResponse::apiError(409, "The document has not finished processing.");

    // A course's story or memory palace (which "any" picks for many terms) reads every document
    // of the course and writes the longest guides: it is a job, as is any request over long texts.
    qsizetype chars = 0;
    for (const QString& text : found.texts)
        chars += text.size();
    const QString type = input.value("mnemonic_type").toString();
    const bool longWork = (found.course && (type == "story" || type == "method_of_loci" || type == "any")) ||
                          chars > inlineTextLimit;
    if (longWork) {
        if (found.texts.isEmpty() && !hasIdeas)
            return ServerResponse::apiError(422,
                                            "This course has no processed documents yet. Add key ideas "
                                            "(one per line, \"term: meaning\") to make a mnemonic from.");
        const QString jobId = context_.jobs->enqueue(userId, jobType, input);
        return ServerResponse::json(
            QJsonObject{{"job_id", jobId}, {"status", "queued"}, {"job_type", jobType}});
    }
    const Made made = make(input, found);
    if (!made.error.isEmpty())
        return ServerResponse::apiError(422, made.error);
    // The stored mnemonic and the reward use it fulfils go in together, as in the job's commit.
    context_.db.inTransaction([&] {
        store(userId, input, made.record);
        return true;
    });
    return ServerResponse::json(made.record);
}

JobQueue::Outcome MnemonicRoutes::run(const JobQueue::Job& job) {
    const Sources found = sources(job.userId, job.input);
    if (found.refusal)
        return JobQueue::Outcome::failure(job.input.value("document_id").toString().isEmpty()
                                              ? QStringLiteral("The course was deleted.")
                                              : QStringLiteral("The document was deleted."));
    const Made made = make(job.input, found);
    if (!made.error.isEmpty())
        return JobQueue::Outcome::failure(made.error);
    return JobQueue::Outcome::success(made.record, [=, this] { store(job.userId, job.input, made.record); });
}
