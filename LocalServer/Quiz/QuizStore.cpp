#include "Quiz/QuizStore.h"

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

bool QuizStore::issue(const Key& key, const QString& quizId, const QJsonArray& questions, qint64 servedAtMs) {
    return context_.db.exec(
        "INSERT INTO issued_quizzes (id, user_id, course_id, question_type, difficulty, questions, served_at)"
        " VALUES (?, ?, ?, ?, ?, ?, ?)",
        {quizId, key.userId, key.courseId, key.questionType, key.difficulty,
         QString::fromUtf8(QJsonDocument(questions).toJson(QJsonDocument::Compact)), servedAtMs});
}

bool QuizStore::store(const Key& key, const QJsonObject& quiz) {
    return issue(key, quiz.value("quiz_id").toString(), quiz.value("questions").toArray(),
                 context_.nowMs()) &&
           context_.db.exec(
               "INSERT INTO quiz_caches (user_id, course_id, question_type, difficulty, topic, "
               "num_questions, quiz,"
               " attempts, generated_at) VALUES (?, ?, ?, ?, ?, ?, ?, 1, ?)"
               " ON CONFLICT (user_id, course_id, question_type, difficulty, topic, num_questions)"
               " DO UPDATE SET quiz = excluded.quiz, attempts = quiz_caches.attempts + 1, generated_at = "
               "excluded.generated_at",
               {key.userId, key.courseId, key.questionType, key.difficulty, topicKey(key.topic), key.count,
                QString::fromUtf8(QJsonDocument(quiz).toJson(QJsonDocument::Compact)), context_.nowMs()});
}

void QuizStore::served(const QString& quizId) {
    context_.db.exec("UPDATE issued_quizzes SET served_at = ? WHERE id = ?", {context_.nowMs(), quizId});
}

std::optional<QuizStore::Issued> QuizStore::issued(const QString& quizId, const QString& userId) {
    const auto row =
        context_.db.row("SELECT * FROM issued_quizzes WHERE id = ? AND user_id = ?", {quizId, userId});
    if (!row)
        return std::nullopt;
    return Issued{row->value("course_id").toString(),
                  row->value("question_type").toString(),
                  row->value("difficulty").toString(),
                  QJsonDocument::fromJson(row->value("questions").toByteArray()).array(),
                  row->value("served_at").toLongLong(),
                  row->value("completed_attempt").toString()};
}

bool QuizStore::claim(const QString& quizId, const QString& userId, const QString& attemptId) {
    return context_.db.changed("UPDATE issued_quizzes SET completed_attempt = ? WHERE id = ? AND user_id = ?"
                               " AND completed_attempt IS NULL",
                               {attemptId, quizId, userId}) == 1;
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
               " ON CONFLICT (user_id, course_id, day) DO UPDATE SET count = quiz_generations.count + 1"
               " WHERE quiz_generations.count < ?",
               {userId, courseId, day, limit}) == 1;
}

void QuizStore::refund(const QString& userId, const QString& courseId, const QString& day) {
    context_.db.exec(
        "UPDATE quiz_generations SET count = count - 1 WHERE user_id = ? AND course_id = ? AND day = ?"
        " AND count > 0",
        {userId, courseId, day});
}
