#include "ImportedCards.h"

#include "Database.h"
#include "RandomId.h"

bool ImportedCards::insert(Database& db, const QString& userId, const QString& courseId,
                           const QList<NotecardParser::Card>& cards, qint64 nowMs) {
    const QVariant course = courseId.isEmpty() ? QVariant() : QVariant(courseId);
    for (const NotecardParser::Card& card : cards) {
        if (!db.exec(
                "INSERT INTO flashcards (id, user_id, source, course_id, document_id, front, back, synonyms,"
                " antonyms, related_terms, flagged, created_at)"
                " VALUES (?, ?, 'import', ?, NULL, ?, ?, '[]', '[]', '[]', ?, ?)",
                {RandomId::make("card"), userId, course, card.term, card.definition,
                 card.flagReason.has_value() ? 1 : 0, nowMs}))
            return false;
    }
    return true;
}
