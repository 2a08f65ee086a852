#include "Quiz/QuizScoreStore.h"

#include "ServerContext.h"
#include "Storage/RandomId.h"

std::optional<QuizScoreStore::Saved> QuizScoreStore::save(const QString& userId, const Score& score) {
    Database& db = context_.db;
    if (!db.transaction())
        return std::nullopt;
    std::optional<QVariantMap> earlier;
    if (!score.attemptId.isEmpty())
        earlier = db.row("SELECT id, course_id FROM quiz_scores WHERE user_id = ? AND attempt_id = ?",
                         {userId, score.attemptId});
    Saved saved;
    QString courseId = score.courseId;
    if (earlier) {
        saved.scoreId = earlier->value("id").toString();
        courseId = earlier->value("course_id").toString();
    } else {
        saved.scoreId = RandomId::make("score");
        const QVariant none(QMetaType(QMetaType::QString));
        const bool stored = db.exec(
            "INSERT INTO quiz_scores (id, user_id, course_id, score, total_questions, percentage, "
            "question_type,"
            " difficulty, topic, quiz_duration, attempt_id, created_at) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, "
            "?, ?, ?)",
            {saved.scoreId, userId, score.courseId, score.score, score.totalQuestions, score.percentage,
             score.questionType, score.difficulty, score.topic.isEmpty() ? none : score.topic,
             score.quizDuration ? QVariant(*score.quizDuration) : QVariant(QMetaType(QMetaType::Int)),
             score.attemptId.isEmpty() ? none : score.attemptId, context_.nowMs()});
        if (!stored) {
            db.rollback();
            return std::nullopt;
        }
    }
    const auto mean =
        db.row("SELECT AVG(percentage) AS mean FROM (SELECT percentage FROM quiz_scores"
               " WHERE user_id = ? AND course_id = ? ORDER BY created_at DESC, rowid DESC LIMIT ?)",
               {userId, courseId, proficiencyWindow});
    saved.proficiency = mean ? mean->value("mean").toDouble() : 0;
    if (!db.commit())
        return std::nullopt;
    return saved;
}

QString QuizScoreStore::topicOf(const QString& userId, const QString& attemptId) {
    const auto row = context_.db.row("SELECT topic FROM quiz_scores WHERE user_id = ? AND attempt_id = ?",
                                     {userId, attemptId});
    return row ? row->value("topic").toString() : QString();
}
