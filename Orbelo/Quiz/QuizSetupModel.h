#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "APIClient.h"
#include "Courses/CourseSummary.h"
#include "Quizzes/GenerateQuizRequest.h"
#include "Quizzes/GenerateQuizResponse.h"
#include "Quizzes/QuizCacheStatusResponse.h"
#include "TaskScope.h"

#include <QDateTime>
#include <QStringList>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

// Setting up a practice test: the course, question type, number of questions, difficulty and
// topic, the course's generation quota, and the generation itself, which may wait for a queued
// job on the backend. A quiz with questions is handed on through generated().
class QuizSetupModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by QuizModel")
    Q_PROPERTY(QVariantList courses READ courses NOTIFY coursesChanged)
    Q_PROPERTY(QString selectedCourseId READ selectedCourseId WRITE selectCourse NOTIFY selectedCourseChanged)
    Q_PROPERTY(bool isLoadingCourses READ isLoadingCourses NOTIFY isLoadingCoursesChanged)
    Q_PROPERTY(QString coursesError READ coursesError NOTIFY coursesErrorChanged)
    Q_PROPERTY(bool hasNoCourses READ hasNoCourses NOTIFY coursesChanged)
    Q_PROPERTY(QVariantList questionTypes READ questionTypes CONSTANT)
    Q_PROPERTY(int questionType READ questionType WRITE setQuestionType NOTIFY questionTypeChanged)
    Q_PROPERTY(int questionCount READ questionCount WRITE setQuestionCount NOTIFY questionCountChanged)
    Q_PROPERTY(QString questionCountLabel READ questionCountLabel NOTIFY questionCountChanged)
    Q_PROPERTY(QVariantList difficulties READ difficulties CONSTANT)
    Q_PROPERTY(int difficulty READ difficulty WRITE setDifficulty NOTIFY difficultyChanged)
    Q_PROPERTY(QString topic READ topic WRITE setTopic NOTIFY topicChanged)
    Q_PROPERTY(QStringList cacheStatusLines READ cacheStatusLines NOTIFY cacheStatusChanged)
    Q_PROPERTY(bool isLoadingCacheStatus READ isLoadingCacheStatus NOTIFY cacheStatusChanged)
    Q_PROPERTY(bool isGenerating READ isGenerating NOTIFY isGeneratingChanged)
    Q_PROPERTY(QString jobStatusText READ jobStatusText NOTIFY jobStatusTextChanged)
    Q_PROPERTY(QString errorText READ errorText NOTIFY errorTextChanged)
    Q_PROPERTY(bool canGenerate READ canGenerate NOTIFY canGenerateChanged)
public:
    static constexpr int minimumQuestions = 1;
    static constexpr int maximumQuestions = 20;
    static inline const QString emptyQuizText =
        QStringLiteral("Quiz came back empty. Try a different topic or course.");

    explicit QuizSetupModel(APIClient client, QObject* parent = nullptr);

    // {id, label} per course.
    QVariantList courses() const;
    QString selectedCourseId() const { return selectedCourseId_; }
    void selectCourse(const QString& courseId);
    bool isLoadingCourses() const { return isLoadingCourses_; }
    QString coursesError() const { return coursesError_; }
    bool hasNoCourses() const { return coursesLoaded_ && courses_.isEmpty(); }
    // {value, label} per question type and difficulty, in the pickers' order.
    static QVariantList questionTypes();
    int questionType() const { return int(questionType_); }
    void setQuestionType(int type);
    int questionCount() const { return questionCount_; }
    void setQuestionCount(int count);
    QString questionCountLabel() const;
    static QVariantList difficulties();
    int difficulty() const { return int(difficulty_); }
    void setDifficulty(int difficulty);
    QString topic() const { return topic_; }
    void setTopic(const QString& topic);
    QStringList cacheStatusLines() const;
    bool isLoadingCacheStatus() const { return isLoadingCacheStatus_; }
    bool isGenerating() const { return isGenerating_; }
    QString jobStatusText() const;
    QString errorText() const { return errorText_; }
    bool canGenerate() const { return !selectedCourseId_.isEmpty() && !isGenerating_; }

    // The request for the options as they stand.
    GenerateQuizRequest request() const;
    // The waiting line's first part for a job status as the backend names it.
    static QString jobStateLabel(const QString& status);
    // The quota lines for a cache status.
    static QStringList cacheStatusLines(const QuizCacheStatusResponse& status);

    // The courses, then the pending course and the pending auto-start (QuizLaunchRequests).
    Q_INVOKABLE void load();
    // A course left waiting after the courses are in (a notification routed here): selected now
    // when listed, else the courses are fetched again and it is looked for in those. While they
    // load, the load takes it.
    void followPendingCourse();
    // "Start Practice Test".
    Q_INVOKABLE void generate();
    // Stops waiting for the quiz; nothing of that generation shows afterwards.
    Q_INVOKABLE void cancel();

Q_SIGNALS:
    void coursesChanged();
    void selectedCourseChanged();
    void isLoadingCoursesChanged();
    void coursesErrorChanged();
    void questionTypeChanged();
    void questionCountChanged();
    void difficultyChanged();
    void topicChanged();
    void cacheStatusChanged();
    void isGeneratingChanged();
    void jobStatusTextChanged();
    void errorTextChanged();
    void canGenerateChanged();
    // A quiz with questions for the course.
    void generated(const QString& courseId, const GenerateQuizRequest& request,
                   const GenerateQuizResponse& response);

private:
    static async::Task<void> loadCourses(QuizSetupModel* self, bool autoStart);
    static async::Task<void> fetchCacheStatus(QuizSetupModel* self, QString courseId, QuizQuestionType type);
    static async::Task<void> runGeneration(QuizSetupModel* self, QString courseId,
                                           GenerateQuizRequest request);
    static async::Task<void> countSeconds(QuizSetupModel* self);
    void refreshCacheStatus();
    void finishGeneration();
    void setGenerating(bool generating);
    void setJobStatus(const QString& status);
    void setElapsedSeconds(qint64 seconds);
    void setErrorText(const QString& text);
    void setLoadingCourses(bool loading);

    APIClient client_;
    QList<CourseSummary> courses_;
    bool coursesLoaded_ = false;
    QString selectedCourseId_;
    bool isLoadingCourses_ = false;
    QString coursesError_;
    QuizQuestionType questionType_ = QuizQuestionType::multipleChoice;
    int questionCount_ = 10;
    QuizDifficulty difficulty_ = QuizDifficulty::medium;
    QString topic_;
    std::optional<QuizCacheStatusResponse> cacheStatus_;
    bool isLoadingCacheStatus_ = false;
    bool isGenerating_ = false;
    QString jobStatus_;
    QDateTime generationStart_;
    qint64 elapsedSeconds_ = 0;
    QString errorText_;
    // The options of the last quiz handed on: asking for the same again means a fresh one.
    std::optional<std::pair<QString, GenerateQuizRequest>> lastGenerated_;
    async::TaskScope::TaskId cacheTask_ = 0;
    async::TaskScope::TaskId generationTask_ = 0;
    async::TaskScope::TaskId counterTask_ = 0;
    async::TaskScope tasks_; // last: tasks end before what they use
};
