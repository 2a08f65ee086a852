#include "QuizStore.h"

#include "ServerContext.h"

#include <QJsonDocument>

namespace {

// Never null: the column is part of the key.
QString topicKey(const QString& topic) {
    return QStringLiteral("") + topic.simplified().toLower();
}

} // namespace

std::optional<QuizStore::Cached> QuizStore::cached(const Key& key) {
    const auto row = context_.db.row(
        "SELECT quiz, attempts FROM quiz_caches WHERE user_id = ? AND course_id = ? AND question_type = ? AND"
        " difficulty = ? AND topic = ? AND num_questions = ?",
        {key.userId, key.courseId, key.questionType, key.difficulty, topicKey(key.topic), key.count});
    if (!row)
        return std::nullopt;
    return Cached{QJsonDocument::fromJson(row->value("quiz").toByteArray()).object(),
                  row->value("attempts").toInt()};
}

bool QuizStore::hasCached(const QString& userId, const QString& courseId, const QString& questionType) {
    return context_.db
        .row("SELECT 1 FROM quiz_caches WHERE user_id = ? AND course_id = ? AND question_type = ? LIMIT 1",
             {userId, courseId, questionType})
        .has_value();
}

bool QuizStore::store(const Key& key, const QJsonObject& quiz) {
    return context_.db.exec(
        "INSERT INTO quiz_caches (user_id, course_id, question_type, difficulty, topic, num_questions, quiz,"
        " attempts, generated_at) VALUES (?, ?, ?, ?, ?, ?, ?, 1, ?)"
        " ON CONFLICT (user_id, course_id, question_type, difficulty, topic, num_questions)"
        " DO UPDATE SET quiz = excluded.quiz, attempts = attempts + 1, generated_at = excluded.generated_at",
        {key.userId, key.courseId, key.questionType, key.difficulty, topicKey(key.topic), key.count,
         QString::fromUtf8(QJsonDocument(quiz).toJson(QJsonDocument::Compact)), context_.nowMs()});
}

int QuizStore::generations(const QString& userId, const QString& courseId, const QString& day) {
    const auto row =
        context_.db.row("SELECT count FROM quiz_generations WHERE user_id = ? AND course_id = ? AND day = ?",
                        {userId, courseId, day});
    return row ? row->value("count").toInt() : 0;
}

bool QuizStore::spend(const QString& userId, const QString& courseId, const QString& day, int limit) {
    context_.db.exec("DELETE FROM quiz_generations WHERE user_id = ? AND course_id = ? AND day <> ?",
                     {userId, courseId, day});
    // One statement, so that two requests cannot both take the last generation.
    return context_.db.changed(
               "INSERT INTO quiz_generations (user_id, course_id, day, count) VALUES (?, ?, ?, 1)"
               " ON CONFLICT (user_id, course_id, day) DO UPDATE SET count = count + 1"
               " WHERE count < ?",
               {userId, courseId, day, limit}) == 1;
}

void QuizStore::refund(const QString& userId, const QString& courseId, const QString& day) {
    context_.db.exec(
        "UPDATE quiz_generations SET count = count - 1 WHERE user_id = ? AND course_id = ? AND day = ?"
        " AND count > 0",
        {userId, courseId, day});
}
