#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "APIClient.h"
#include "Clock.h"
#include "Courses/CourseSummary.h"
#include "Flashcards/Flashcard.h"
#include "GuidedReading/GRComprehensionQuestion.h"
#include "Quizzes/QuizQuestion.h"
#include "TaskScope.h"
#include "Tutor/TutorSessionStart.h"

#include <QDateTime>
#include <QStringList>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <functional>

// A tutor session, run by the app from one course's own material as one timed flow: the reading
// guide's questions (answer, then compare with the guide's), the course's due cards (rated as in
// a review), then a short quiz, and a summary at the end. Starting spends one use of the reward on
// the server; the clock runs from then, and the summary comes when the steps are done, the student
// ends early, or the time is up. A step without material is skipped.
class TutorSessionModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString phase READ phase NOTIFY changed)
    Q_PROPERTY(QVariantList courses READ courses NOTIFY changed)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY changed)
    Q_PROPERTY(QString courseName READ courseName NOTIFY changed)
    Q_PROPERTY(QString remainingText READ remainingText NOTIFY tick)
    Q_PROPERTY(QString stepText READ stepText NOTIFY changed)
    Q_PROPERTY(QString positionText READ positionText NOTIFY changed)
    Q_PROPERTY(QString prompt READ prompt NOTIFY changed)
    Q_PROPERTY(QString answer READ answer NOTIFY changed)
    Q_PROPERTY(bool answerShown READ answerShown NOTIFY changed)
    Q_PROPERTY(QStringList options READ options NOTIFY changed)
    Q_PROPERTY(bool busy READ busy NOTIFY changed)
    Q_PROPERTY(QStringList summaryLines READ summaryLines NOTIFY changed)
public:
    using UserIdSource = std::function<std::optional<QString>()>;
    // "choose" (pick a course), "starting", "questions", "cards", "quiz", "summary".
    static inline const QString choosing = QStringLiteral("choose");
    static inline const QString starting = QStringLiteral("starting");
    static inline const QString questions = QStringLiteral("questions");
    static inline const QString cards = QStringLiteral("cards");
    static inline const QString quiz = QStringLiteral("quiz");
    static inline const QString summary = QStringLiteral("summary");

    explicit TutorSessionModel(QObject* parent = nullptr);
    TutorSessionModel(APIClient client, UserIdSource userId, QObject* parent = nullptr);
    ~TutorSessionModel() override;

    QString phase() const { return phase_; }
    QVariantList courses() const;
    QString errorMessage() const { return errorMessage_; }
    QString courseName() const { return courseName_; }
    QString remainingText() const;
    QString stepText() const;
    QString positionText() const;
    QString prompt() const;
    QString answer() const;
    bool answerShown() const { return answerShown_; }
    QStringList options() const;
    bool busy() const { return busy_; }
    QStringList summaryLines() const;

    // The user's courses for the choice.
    Q_INVOKABLE void loadCourses();
    // Spends a use of `userRewardId` on the course and runs the session.
    Q_INVOKABLE void start(const QString& userRewardId, const QString& courseId);
    // Questions: shows the guide's answer; next moves on, counting the question as answered.
    Q_INVOKABLE void showAnswer();
    Q_INVOKABLE void next();
    // Cards: shows the back; rates the card 0 (Again) to 3 (Easy) and moves on.
    Q_INVOKABLE void rate(int quality);
    // Quiz: answers the question with the option at `index` and moves on.
    Q_INVOKABLE void choose(int index);
    // Leaves the rest of the current step.
    Q_INVOKABLE void skipStep();
    // Ends the session now, with its summary.
    Q_INVOKABLE void finish();
    // Back to the course choice for another session.
    Q_INVOKABLE void reset();

    // The quiz's correct answers so far.
    int quizCorrect() const;

Q_SIGNALS:
    void changed();
    void tick();

private:
    struct Material {
        TutorSessionStart session;
        QList<GRComprehensionQuestion> questions;
        QList<Flashcard> cards;
        QList<QuizQuestion> quiz;
    };
    static async::Task<Material> open(APIClient client, UseTutorSessionRequest request);
    static async::Task<QList<CourseSummary>> fetchCourses(APIClient client);

    void begin(Material material);
    // The first step from `from` that has material, or the summary.
    void enter(const QString& from);
    void advanceWithin(int size);
    // The summary, now.
    void conclude();
    void scheduleTick();
    void stopTimer();
    qint64 remainingMs() const;

    APIClient client_;
    UserIdSource userId_;
    QString phase_ = choosing;
    QString errorMessage_;
    QString courseName_;
    QList<CourseSummary> courses_;
    Material material_;
    int index_ = 0;
    bool answerShown_ = false;
    bool busy_ = false;
    bool timeUp_ = false;
    int answered_ = 0;
    QList<int> ratings_{0, 0, 0, 0};
    QList<int> quizAnswers_;
    QDateTime deadline_;
    QDateTime startedAt_;
    QDateTime endedAt_;
    async::Clock::TimerId timer_ = 0;
    async::TaskScope tasks_; // last: tasks end before what they use
};
