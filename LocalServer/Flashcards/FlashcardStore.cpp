#include "Flashcards/FlashcardStore.h"

#include "Flashcards/SpacedRepetition.h"
#include "ServerContext.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QSet>

namespace {

QString isoDate(const QVariant& ms) {
    return QDateTime::fromMSecsSinceEpoch(ms.toLongLong(), Qt::UTC).toString(Qt::ISODateWithMs);
}

QJsonValue storedJson(const QVariant& text) {
    if (text.isNull())
        return QJsonValue::Null;
    return QJsonDocument::fromJson(text.toByteArray()).array();
}

QVariant jsonText(const QJsonValue& value) {
    if (!value.isArray())
        return {};
    return QString::fromUtf8(QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact));
}

QJsonValue optionalText(const QVariant& value) {
    return value.isNull() ? QJsonValue(QJsonValue::Null) : QJsonValue(value.toString());
}

constexpr auto dueOrder = "COALESCE(next_review_at, created_at)";

} // namespace

QJsonObject FlashcardStore::cardJson(const QVariantMap& row) {
    QJsonObject card{
        {"id", row.value("id").toString()},
        {"front", row.value("front").toString()},
        {"back", row.value("back").toString()},
        {"hint", optionalText(row.value("hint"))},
        {"hint_source", optionalText(row.value("hint_source"))},
        {"synonyms", storedJson(row.value("synonyms"))},
        {"antonyms", storedJson(row.value("antonyms"))},
        {"related_terms", storedJson(row.value("related_terms"))},
        {"usage_note", optionalText(row.value("usage_note"))},
        {"document_id", optionalText(row.value("document_id"))},
        {"course_id", optionalText(row.value("course_id"))},
        {"tags", row.value("source").toString() == "vocabulary" ? QJsonArray{"vocabulary"} : QJsonArray{}},
        {"ease_factor", row.value("ease_factor").toDouble()},
        {"interval_days", row.value("interval_days").toInt()},
        {"repetitions", row.value("repetitions").toInt()},
        {"created_at", isoDate(row.value("created_at"))}};
    const QVariant next = row.value("next_review_at");
    card.insert("next_review_at", next.isNull() ? QJsonValue::Null : QJsonValue(isoDate(next)));
    const QVariant last = row.value("last_reviewed_at");
    card.insert("last_reviewed_at", last.isNull() ? QJsonValue::Null : QJsonValue(isoDate(last)));
    return card;
}

QString FlashcardStore::vocabularyBack(const QJsonObject& term) {
    const QString context = term.value("context").toString();
    const QString definition = term.value("definition").toString();
    return context.isEmpty() ? definition : definition + "\n\nIn context: " + context;
}

QJsonArray FlashcardStore::list(const QString& userId) {
    QJsonArray cards;
    for (const QVariantMap& row : context_.db.rows(
             "SELECT * FROM flashcards WHERE user_id = ? AND source <> 'vocabulary' ORDER BY created_at, id",
             {userId}))
        cards.append(cardJson(row));
    return cards;
}

FlashcardStore::Due FlashcardStore::due(const QString& userId, qint64 nowMs, int limit) {
    Due due;
    const auto rows = context_.db.rows(QStringLiteral("SELECT * FROM flashcards WHERE user_id = ? AND %1 <= ?"
                                                      " ORDER BY %1, id LIMIT ?")
                                           .arg(dueOrder),
                                       {userId, nowMs, limit});
    for (const QVariantMap& row : rows)
        due.cards.append(cardJson(row));
    // Counting is needed only when the page is full.
    due.total = int(rows.size());
    if (rows.size() == limit) {
        const auto count = context_.db.row(
            QStringLiteral("SELECT COUNT(*) AS n FROM flashcards WHERE user_id = ? AND %1 <= ?")
                .arg(dueOrder),
            {userId, nowMs});
        due.total = count ? count->value("n").toInt() : due.total;
    }
    return due;
}

QList<FlashcardStore::CourseDue> FlashcardStore::dueByCourse(const QString& userId, qint64 nowMs) {
    QList<CourseDue> courses;
    for (const QVariantMap& row :
         context_.db.rows("SELECT f.course_id, c.name, COUNT(*) AS due FROM flashcards f"
                          " LEFT JOIN courses c ON c.id = f.course_id AND c.user_id = f.user_id"
                          " WHERE f.user_id = ? AND COALESCE(f.next_review_at, f.created_at) <= ?"
                          " GROUP BY f.course_id, c.name ORDER BY due DESC, c.name",
                          {userId, nowMs}))
        courses.append(
            {row.value("course_id").toString(), row.value("name").toString(), row.value("due").toInt()});
    return courses;
}

std::optional<QJsonObject> FlashcardStore::review(const QString& userId, const QString& id, int quality,
                                                  qint64 nowMs, const QTimeZone& zone) {
    Database& db = context_.db;
    QVariantMap updated;
    const bool reviewed = db.inTransaction([&] {
        const auto row = db.row("SELECT * FROM flashcards WHERE user_id = ? AND id = ?", {userId, id});
        if (!row)
            return false;
        const SpacedRepetition before{row->value("ease_factor").toDouble(),
                                      row->value("interval_days").toInt(), row->value("repetitions").toInt()};
        const SpacedRepetition after = before.reviewed(quality);
        const QDateTime now = QDateTime::fromMSecsSinceEpoch(nowMs, Qt::UTC);
        const qint64 next = SpacedRepetition::dueAt(now, after.intervalDays, zone).toMSecsSinceEpoch();
        updated = *row;
        updated["ease_factor"] = after.easeFactor;
        updated["interval_days"] = after.intervalDays;
        updated["repetitions"] = after.repetitions;
        updated["next_review_at"] = next;
        updated["last_reviewed_at"] = nowMs;
        return db.exec("UPDATE flashcards SET ease_factor = ?, interval_days = ?, repetitions = ?,"
                       " next_review_at = ?, last_reviewed_at = ? WHERE user_id = ? AND id = ?",
                       {after.easeFactor, after.intervalDays, after.repetitions, next, nowMs, userId, id});
    });
    if (!reviewed)
        return std::nullopt;
    return cardJson(updated);
}

void FlashcardStore::syncVocabulary(const QString& userId, const QString& courseId, const QJsonArray& terms) {
    Database& db = context_.db;
    QSet<QString> ids;
    for (const QJsonValue& value : terms) {
        const QJsonObject term = value.toObject();
        const QString id = vocabularyPrefix + term.value("term").toString();
        ids.insert(id);
        const QVariantList texts{term.value("term").toString(),         vocabularyBack(term),
                                 jsonText(term.value("synonyms")),      jsonText(term.value("antonyms")),
                                 jsonText(term.value("related_terms")), courseId};
        // The schedule of a card already studied is kept.
        if (db.changed(
                "UPDATE flashcards SET front = ?, back = ?, synonyms = ?, antonyms = ?, related_terms = ?,"
                " course_id = ? WHERE user_id = ? AND id = ?",
                texts + QVariantList{userId, id}) > 0)
            continue;
        db.exec(
            "INSERT INTO flashcards (front, back, synonyms, antonyms, related_terms, course_id, user_id, id,"
            " source, created_at) VALUES (?, ?, ?, ?, ?, ?, ?, ?, 'vocabulary', ?)",
            texts + QVariantList{userId, id, context_.nowMs()});
    }
    for (const QVariantMap& row :
         db.rows("SELECT id FROM flashcards WHERE user_id = ? AND course_id = ? AND source = 'vocabulary'",
                 {userId, courseId}))
        if (!ids.contains(row.value("id").toString()))
            db.exec("DELETE FROM flashcards WHERE user_id = ? AND id = ?", {userId, row.value("id")});
}
