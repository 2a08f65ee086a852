#include "Quiz/QuizScoreRoutes.h"

#include "Http/JsonNumbers.h"
#include "Library/LibraryStore.h"
#include "Quiz/QuizScoreStore.h"
#include "Rewards/RewardsRules.h"
#include "ServerContext.h"

namespace {

bool knownQuestionType(const QString& type) {
    return type == QLatin1String("multiple_choice") || type == QLatin1String("true_false") ||
           type == QLatin1String("fill_in_blank");
}

} // namespace

ServerResponse QuizScoreRoutes::save(const ServerRequest& request, const QString& userId) {
    const QJsonObject body = request.jsonBody();
    QuizScoreStore::Score score;
    score.courseId = body.value("course_id").toString();
    if (score.courseId.isEmpty())
        return ServerResponse::apiError(400, "course_id is required.");
    const auto correct = JsonNumbers::wholeNumber(body.value("score"));
    const auto total = JsonNumbers::wholeNumber(body.value("total_questions"));
    if (!correct || !total || *correct < 0 || *total < 0)
        return ServerResponse::apiError(400,
                                        "score and total_questions must be whole numbers of at least 0.");
    if (*correct > *total)
        return ServerResponse::apiError(400, "score cannot be more than total_questions.");
    const auto percentage = JsonNumbers::numberWithin(body.value("percentage"), 0, 100);
    if (!percentage)
        return ServerResponse::apiError(400, "percentage must be a number from 0 to 100.");
    score.score = *correct;
    score.totalQuestions = *total;
    score.percentage = *percentage;
    score.questionType = body.value("question_type").toString();
    if (!knownQuestionType(score.questionType))
        return ServerResponse::apiError(
            400, "question_type must be multiple_choice, true_false or fill_in_blank.");
    score.difficulty = body.value("difficulty").toString();
    if (!RewardsRules::difficultyPercent(score.difficulty))
        return ServerResponse::apiError(400, "difficulty must be easy, medium or hard.");
    if (body.contains("quiz_duration") && !body.value("quiz_duration").isNull()) {
        score.quizDuration = JsonNumbers::wholeNumber(body.value("quiz_duration"));
        if (!score.quizDuration || *score.quizDuration < 0)
            return ServerResponse::apiError(400, "quiz_duration must be a whole number of seconds.");
    }
    score.topic = body.value("topic").toString().trimmed();
    score.attemptId = body.value("attempt_id").toString();
    if (!LibraryStore(context_).course(score.courseId, userId))
        return ServerResponse::apiError(404, "No such course.");

    const auto saved = QuizScoreStore(context_).save(userId, score);
    if (!saved)
        return ServerResponse::apiError(500, "The score could not be saved.");
    return ServerResponse::json(QJsonObject{{"status", "success"},
                                            {"message", "Quiz score saved."},
                                            {"score_id", saved->scoreId},
                                            {"updated_proficiency", saved->proficiency}});
}
