#include "Quiz/QuizScoreStore.h"

#include "ServerContext.h"
#include "Storage/RandomId.h"

std::optional<QuizScoreStore::Saved> QuizScoreStore::save(const QString& userId, const Score& score) {
    Database& db = context_.db;
    Saved saved;
    const bool stored = db.inTransaction([&] {
        std::optional<QVariantMap> earlier;
        if (!score.attemptId.isEmpty())
            earlier = db.row("SELECT id, course_id FROM quiz_scores WHERE user_id = ? AND attempt_id = ?",
                             {userId, score.attemptId});
        QString courseId = score.courseId;
        if (earlier) {
            saved.scoreId = earlier->value("id").toString();
            courseId = earlier->value("course_id").toString();
        } else {
            saved.scoreId = RandomId::make("score");
            const QVariant none(QMetaType(QMetaType::QString));
            // seq orders scores saved in the same millisecond as they were saved.
            const bool inserted = db.exec(
                "INSERT INTO quiz_scores (id, user_id, course_id, score, total_questions, percentage,"
                " question_type, difficulty, topic, quiz_duration, attempt_id, created_at, seq)"
                " SELECT ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, COALESCE(MAX(seq), 0) + 1 FROM quiz_scores"
                " WHERE user_id = ?",
                {saved.scoreId, userId, score.courseId, score.score, score.totalQuestions, score.percentage,
                 score.questionType, score.difficulty, score.topic.isEmpty() ? none : score.topic,
                 score.quizDuration ? QVariant(*score.quizDuration) : QVariant(QMetaType(QMetaType::Int)),
                 score.attemptId.isEmpty() ? none : score.attemptId, context_.nowMs(), userId});
            if (!inserted)
                return false;
        }
        const auto mean = db.row(
            "SELECT AVG(percentage) AS mean FROM (SELECT percentage FROM quiz_scores"
            " WHERE user_id = ? AND course_id = ? ORDER BY created_at DESC, seq DESC LIMIT ?) AS latest",
            {userId, courseId, proficiencyWindow});
        saved.proficiency = mean ? mean->value("mean").toDouble() : 0;
        return true;
    });
    if (!stored)
        return std::nullopt;
    return saved;
}

QString QuizScoreStore::topicOf(const QString& userId, const QString& attemptId) {
    const auto row = context_.db.row("SELECT topic FROM quiz_scores WHERE user_id = ? AND attempt_id = ?",
                                     {userId, attemptId});
    return row ? row->value("topic").toString() : QString();
}
