#include "Import/ImportStore.h"

#include "Storage/Database.h"
#include "Storage/RandomId.h"

#include <QJsonDocument>

bool ImportStore::addPasted(const QString& importId, const QString& userId, const QString& key,
                            const QByteArray& content, qint64 nowMs) {
    return db_.exec("INSERT INTO flashcard_imports (id, user_id, s3_key, status, content, created_at)"
                    " VALUES (?, ?, ?, 'ready', ?, ?)",
                    {importId, userId, key, content, nowMs});
}

bool ImportStore::addAwaitingUpload(const QString& importId, const QString& userId, const QString& key,
                                    const QString& filename, qint64 nowMs) {
    return db_.exec("INSERT INTO flashcard_imports (id, user_id, s3_key, filename, status, created_at)"
                    " VALUES (?, ?, ?, ?, 'awaiting_upload', ?)",
                    {importId, userId, key, filename, nowMs});
}

bool ImportStore::storeContent(const QString& key, const QByteArray& content) {
    return db_.changed("UPDATE flashcard_imports SET content = ?, status = 'ready'"
                       " WHERE s3_key = ? AND status <> 'committed'",
                       {content, key}) == 1;
}

std::optional<ImportStore::Upload> ImportStore::find(const QString& importId, const QString& userId,
                                                     const QString& key) {
    const auto row =
        db_.row("SELECT status, content FROM flashcard_imports WHERE id = ? AND user_id = ? AND s3_key = ?",
                {importId, userId, key});
    if (!row)
        return std::nullopt;
    return Upload{row->value("status").toString(), row->value("content").toByteArray()};
}

std::optional<QJsonObject> ImportStore::committedResult(const QString& importId, const QString& userId) {
    const auto row =
        db_.row("SELECT result FROM flashcard_imports WHERE id = ? AND user_id = ? AND status = 'committed'",
                {importId, userId});
    if (!row)
        return std::nullopt;
    return QJsonDocument::fromJson(row->value("result").toByteArray()).object();
}

int ImportStore::storedCards(const QString& userId) {
    return db_.row("SELECT count(*) AS n FROM flashcards WHERE user_id = ?", {userId})
        .value_or(QVariantMap{})
        .value("n")
        .toInt();
}

ImportStore::CommitOutcome ImportStore::commit(const QString& importId, const QString& userId,
                                               const QString& courseId,
                                               const QList<NotecardParser::Card>& cards,
                                               const QJsonObject& result, int maxCards, qint64 nowMs) {
    // Busy stays when the transaction could not begin.
    CommitOutcome outcome{Commit::Busy, {}};
    const bool written = db_.inTransaction([&] {
        // Read again under the lock: of two commits of one import, the second finds the first's
        // result.
        outcome = {Commit::Failed, {}};
        if (auto earlier = committedResult(importId, userId)) {
            outcome = {Commit::AlreadyDone, *earlier};
            return false;
        }
        if (storedCards(userId) + cards.size() > maxCards) {
            outcome = {Commit::TooManyCards, {}};
            return false;
        }
        return insertCards(userId, courseId, cards, nowMs) &&
               db_.changed(
                   "UPDATE flashcard_imports SET status = 'committed', result = ?"
                   " WHERE id = ? AND status <> 'committed'",
                   {QString::fromUtf8(QJsonDocument(result).toJson(QJsonDocument::Compact)), importId}) == 1;
    });
    return written ? CommitOutcome{Commit::Done, {}} : outcome;
}

bool ImportStore::insertCards(const QString& userId, const QString& courseId,
                              const QList<NotecardParser::Card>& cards, qint64 nowMs) {
    const QVariant course = courseId.isEmpty() ? QVariant() : QVariant(courseId);
    for (const NotecardParser::Card& card : cards) {
        if (!db_.exec(
                "INSERT INTO flashcards (id, user_id, source, course_id, document_id, front, back, synonyms,"
                " antonyms, related_terms, flagged, created_at)"
                " VALUES (?, ?, 'import', ?, NULL, ?, ?, '[]', '[]', '[]', ?, ?)",
                {RandomId::make("card"), userId, course, card.term, card.definition,
                 card.flagReason.has_value() ? 1 : 0, nowMs}))
            return false;
    }
    return true;
}
