#include "Quiz/QuizResult.h"

#include "Common/FailureMessage.h"
#include "JsonCoding.h"
#include "Quiz/QuizNotice.h"
#include "Quiz/ReviewPrompt.h"
#include "Quizzes/QuizAPI.h"

#include <cmath>

QuizResult::QuizResult(APIClient client, UserIdSource userId, ReviewPrompt& reviewPrompt, QObject* parent)
    : QObject(parent), client_(std::move(client)), userId_(std::move(userId)), reviewPrompt_(reviewPrompt) {}

void QuizResult::show(const QString& courseId, const QString& quizId, const GenerateQuizRequest& request,
                      const QList<QuizQuestion>& questions, const QMap<int, QString>& answers,
                      double elapsedSeconds, const QString& attemptId) {
    tasks_.cancelAll();
    score_ = QuizGrading::score(request.questionType, questions, answers);
    Q_EMIT scoreChanged();
    setTallying(false);
    setRewards({});
    setNoticeText({});
    std::optional<QuizCompleteRequest> completion;
    if (const std::optional<QString> user = userId_(); user && !user->isEmpty())
        completion = completeRequest(*user, courseId, quizId, request, score_, answers, attemptId);
    tasks_.spawn(
        report(this, scoreRequest(courseId, request, score_, elapsedSeconds, attemptId), completion));
}

SaveQuizScoreRequest QuizResult::scoreRequest(const QString& courseId, const GenerateQuizRequest& request,
                                              const QuizGrading::Score& score, double elapsedSeconds,
                                              const QString& attemptId) {
    SaveQuizScoreRequest body;
    body.courseId = courseId;
    body.score = score.correct;
    body.totalQuestions = score.total;
    body.percentage = score.percent;
    body.questionType = request.questionType;
    body.difficulty = request.difficulty;
    body.topic = request.topic;
    body.quizDuration = int(std::lround(elapsedSeconds));
    body.attemptId = attemptId;
    return body;
}

QuizCompleteRequest QuizResult::completeRequest(const QString& userId, const QString& courseId,
                                                const QString& quizId, const GenerateQuizRequest& request,
                                                const QuizGrading::Score& score,
                                                const QMap<int, QString>& answers, const QString& attemptId) {
    QuizCompleteRequest body;
    body.userId = userId;
    body.courseId = courseId;
    body.attemptId = attemptId;
    body.quizId = quizId;
    QList<QString> given;
    for (int i = 0; i < score.total; ++i)
        given.append(answers.value(i));
    body.answers = given;
    body.questionsCorrect = score.correct;
    body.totalQuestions = score.total;
    body.quizScore = score.percent;
    body.quizDifficulty = json::rawValue(request.difficulty);
    return body;
}

async::Task<void> QuizResult::report(QuizResult* self, SaveQuizScoreRequest score,
                                     std::optional<QuizCompleteRequest> completion) {
    const QuizAPI api(self->client_);
    std::optional<QString> scoreError;
    try {
        co_await api.saveScore(score);
    } catch (...) {
        scoreError = FailureMessage::phrase(std::current_exception());
    }
    std::optional<QString> rewardsError;
    if (!completion) {
        rewardsError = userIdMissingText;
    } else {
        self->setTallying(true);
        try {
            const QuizCompleteResponse answer = co_await api.complete(*completion);
            self->setRewards(QuizRewards::from(answer));
        } catch (...) {
            rewardsError = FailureMessage::phrase(std::current_exception());
        }
        self->setTallying(false);
    }
    self->setNoticeText(QuizNotice::compose(scoreError, rewardsError));
    self->reviewPrompt_.quizCompleted(!scoreError, score.percentage);
}

void QuizResult::setTallying(bool tallying) {
    if (tallying == isTallying_)
        return;
    isTallying_ = tallying;
    Q_EMIT isTallyingChanged();
}

void QuizResult::setRewards(QuizRewards rewards) {
    rewards_ = std::move(rewards);
    Q_EMIT rewardsChanged();
}

void QuizResult::setNoticeText(const QString& text) {
    if (text == noticeText_)
        return;
    noticeText_ = text;
    Q_EMIT noticeTextChanged();
}
