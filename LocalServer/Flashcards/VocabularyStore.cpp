#include "Flashcards/VocabularyStore.h"

#include "Flashcards/FlashcardStore.h"
#include "ServerContext.h"

#include <QJsonDocument>

std::optional<QJsonArray> VocabularyStore::terms(const QString& courseId) {
    const auto row = context_.db.row("SELECT terms FROM vocabularies WHERE course_id = ?", {courseId});
    if (!row)
        return std::nullopt;
    return QJsonDocument::fromJson(row->value("terms").toByteArray()).array();
}

void VocabularyStore::save(const QString& courseId, const QString& userId, const QJsonArray& terms) {
    context_.db.exec(
        "INSERT INTO vocabularies (course_id, user_id, terms, generated_at) VALUES (?, ?, ?, ?)"
        " ON CONFLICT (course_id) DO UPDATE SET user_id = excluded.user_id, terms = excluded.terms,"
        " generated_at = excluded.generated_at",
        {courseId, userId, QString::fromUtf8(QJsonDocument(terms).toJson(QJsonDocument::Compact)),
         context_.isoNow()});
    FlashcardStore(context_).syncVocabulary(userId, courseId, terms);
}

QJsonArray VocabularyStore::update(const QString& courseId, const QString& userId,
                                   const std::function<QJsonArray(QJsonArray)>& change) {
    QJsonArray changed;
    context_.db.inTransaction([&] {
        changed = change(terms(courseId).value_or(QJsonArray()));
        save(courseId, userId, changed);
        return true;
    });
    return changed;
}
