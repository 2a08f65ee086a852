#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "APIClient.h"
#include "Quiz/QuizGrading.h"
#include "Quiz/QuizRewards.h"
#include "Quizzes/GenerateQuizRequest.h"
#include "Quizzes/QuizCompleteRequest.h"
#include "Quizzes/SaveQuizScoreRequest.h"
#include "TaskScope.h"

#include <QStringList>
#include <QtQml/qqmlregistration.h>

#include <functional>

class ReviewPrompt;

// A finished quiz: its score, graded here, and the report of it to the backend — the score first,
// then the completion, which answers with the rewards. A failed report is said in one notice and
// never hides the score.
class QuizResult : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by QuizModel")
    Q_PROPERTY(QString scoreLine READ scoreLine NOTIFY scoreChanged)
    Q_PROPERTY(int percent READ percent NOTIFY scoreChanged)
    Q_PROPERTY(double fraction READ fraction NOTIFY scoreChanged)
    Q_PROPERTY(QString gradeText READ gradeText NOTIFY scoreChanged)
    Q_PROPERTY(QString spokenLabel READ spokenLabel NOTIFY scoreChanged)
    Q_PROPERTY(bool isTallying READ isTallying NOTIFY isTallyingChanged)
    Q_PROPERTY(bool hasRewards READ hasRewards NOTIFY rewardsChanged)
    Q_PROPERTY(QString xpText READ xpText NOTIFY rewardsChanged)
    Q_PROPERTY(QString creditsText READ creditsText NOTIFY rewardsChanged)
    Q_PROPERTY(QStringList multiplierLines READ multiplierLines NOTIFY rewardsChanged)
    Q_PROPERTY(QString achievementsTitle READ achievementsTitle NOTIFY rewardsChanged)
    Q_PROPERTY(QStringList achievementLines READ achievementLines NOTIFY rewardsChanged)
    Q_PROPERTY(QString noticeText READ noticeText NOTIFY noticeTextChanged)
public:
    // The signed-in user's id, when it can be read.
    using UserIdSource = std::function<std::optional<QString>()>;

    static inline const QString userIdMissingText =
        QStringLiteral("we couldn't read your user id — sign out and back in");

    QuizResult(APIClient client, UserIdSource userId, ReviewPrompt& reviewPrompt, QObject* parent = nullptr);

    // Grades the quiz and reports it; `quizId` is the generated quiz's, which the completion names.
    void show(const QString& courseId, const QString& quizId, const GenerateQuizRequest& request,
              const QList<QuizQuestion>& questions, const QMap<int, QString>& answers, double elapsedSeconds,
              const QString& attemptId);

    QString scoreLine() const { return QuizGrading::scoreLine(score_); }
    int percent() const { return QuizGrading::wholePercent(score_); }
    double fraction() const { return score_.percent / 100; }
    QString gradeText() const { return QuizGrading::gradeText(QuizGrading::grade(score_)); }
    QString spokenLabel() const { return QuizGrading::spokenLabel(score_); }
    bool isTallying() const { return isTallying_; }
    bool hasRewards() const { return !rewards_.isEmpty(); }
    QString xpText() const { return rewards_.xp; }
    QString creditsText() const { return rewards_.credits; }
    QStringList multiplierLines() const { return rewards_.multipliers; }
    QString achievementsTitle() const { return rewards_.achievementsTitle; }
    QStringList achievementLines() const { return rewards_.achievements; }
    QString noticeText() const { return noticeText_; }

    // What is sent for a graded quiz.
    static SaveQuizScoreRequest scoreRequest(const QString& courseId, const GenerateQuizRequest& request,
                                             const QuizGrading::Score& score, double elapsedSeconds,
                                             const QString& attemptId);
    // With the answers, one per question in order (empty where none was given), for the backend
    // to grade.
    static QuizCompleteRequest completeRequest(const QString& userId, const QString& courseId,
                                               const QString& quizId, const GenerateQuizRequest& request,
                                               const QuizGrading::Score& score,
                                               const QMap<int, QString>& answers, const QString& attemptId);

Q_SIGNALS:
    void scoreChanged();
    void isTallyingChanged();
    void rewardsChanged();
    void noticeTextChanged();

private:
    static async::Task<void> report(QuizResult* self, SaveQuizScoreRequest score,
                                    std::optional<QuizCompleteRequest> completion);
    void setTallying(bool tallying);
    void setRewards(QuizRewards rewards);
    void setNoticeText(const QString& text);

    APIClient client_;
    UserIdSource userId_;
    ReviewPrompt& reviewPrompt_;
    QuizGrading::Score score_;
    bool isTallying_ = false;
    QuizRewards rewards_;
    QString noticeText_;
    async::TaskScope tasks_; // last: tasks end before what they use
};
