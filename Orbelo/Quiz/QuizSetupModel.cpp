#include "Quiz/QuizSetupModel.h"

#include "Clock.h"
#include "Common/CourseChoices.h"
#include "Common/FailureMessage.h"
#include "Quiz/QuizLaunchRequests.h"
#include "Quizzes/QuizAPI.h"
#include "Text/SentenceText.h"
#include "User/UserAPI.h"

using namespace std::chrono_literals;

namespace {

QString capitalised(QString text) {
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

bool sameQuiz(const GenerateQuizRequest& a, const GenerateQuizRequest& b) {
    return a.topic == b.topic && a.numQuestions == b.numQuestions && a.difficulty == b.difficulty &&
           a.questionType == b.questionType;
}

} // namespace

QuizSetupModel::QuizSetupModel(APIClient client, QObject* parent)
    : QObject(parent), client_(std::move(client)) {
    connect(this, &QuizSetupModel::selectedCourseChanged, this, &QuizSetupModel::canGenerateChanged);
    connect(this, &QuizSetupModel::isGeneratingChanged, this, &QuizSetupModel::canGenerateChanged);
}

QVariantList QuizSetupModel::courses() const {
    return CourseChoices::options(courses_);
}

void QuizSetupModel::selectCourse(const QString& courseId) {
    if (courseId == selectedCourseId_ || !CourseChoices::contains(courses_, courseId))
        return;
    selectedCourseId_ = courseId;
    Q_EMIT selectedCourseChanged();
    refreshCacheStatus();
}

QVariantList QuizSetupModel::questionTypes() {
    QVariantList types;
    for (const auto& [type, raw] : jsonRawValues(QuizQuestionType{}))
        types << QVariantMap{{QStringLiteral("value"), int(type)},
                             {QStringLiteral("label"), displayName(type)}};
    return types;
}

void QuizSetupModel::setQuestionType(int type) {
    if (type == int(questionType_) || type < int(QuizQuestionType::multipleChoice) ||
        type > int(QuizQuestionType::fillInBlank))
        return;
    questionType_ = QuizQuestionType(type);
    Q_EMIT questionTypeChanged();
    refreshCacheStatus();
}

void QuizSetupModel::setQuestionCount(int count) {
    count = std::clamp(count, minimumQuestions, maximumQuestions);
    if (count == questionCount_)
        return;
    questionCount_ = count;
    Q_EMIT questionCountChanged();
}

QString QuizSetupModel::questionCountLabel() const {
    return QStringLiteral("Questions: %1").arg(questionCount_);
}

QVariantList QuizSetupModel::difficulties() {
    QVariantList levels;
    for (const auto& [level, raw] : jsonRawValues(QuizDifficulty{}))
        levels << QVariantMap{{QStringLiteral("value"), int(level)},
                              {QStringLiteral("label"), capitalised(QString::fromLatin1(raw))}};
    return levels;
}

void QuizSetupModel::setDifficulty(int difficulty) {
    if (difficulty == int(difficulty_) || difficulty < int(QuizDifficulty::easy) ||
        difficulty > int(QuizDifficulty::hard))
        return;
    difficulty_ = QuizDifficulty(difficulty);
    Q_EMIT difficultyChanged();
}

void QuizSetupModel::setTopic(const QString& topic) {
    if (topic == topic_)
        return;
    topic_ = topic;
    Q_EMIT topicChanged();
}

QStringList QuizSetupModel::cacheStatusLines() const {
    return cacheStatus_ ? cacheStatusLines(*cacheStatus_) : QStringList();
}

QStringList QuizSetupModel::cacheStatusLines(const QuizCacheStatusResponse& status) {
    QStringList lines;
    if (status.hasCachedQuiz)
        lines << QStringLiteral("Cached quiz available");
    const QString cooldown = status.cooldownRemainingFormatted.value_or(QString());
    if (status.dailyGenerationsRemaining <= 0 && !cooldown.isEmpty())
        lines << QStringLiteral("Daily limit reached. Resets in ") + cooldown;
    else
        lines << QStringLiteral("%1 of %2 generations left today")
                     .arg(status.dailyGenerationsRemaining)
                     .arg(status.maxDailyGenerations);
    return lines;
}

QString QuizSetupModel::jobStateLabel(const QString& status) {
    if (status == QLatin1String("queued"))
        return QStringLiteral("Queued… waiting in line");
    if (status == QLatin1String("running"))
        return QStringLiteral("Writing questions…");
    if (status == QLatin1String("finishing"))
        return QStringLiteral("Almost done…");
    if (status == QLatin1String("failed"))
        return QStringLiteral("Generation failed");
    return QStringLiteral("Generating…");
}

QString QuizSetupModel::jobStatusText() const {
    if (!isGenerating_)
        return {};
    return jobStateLabel(jobStatus_) + QStringLiteral(", %1 seconds elapsed").arg(elapsedSeconds_);
}

GenerateQuizRequest QuizSetupModel::request() const {
    GenerateQuizRequest request;
    const QString topic = topic_.trimmed();
    if (!topic.isEmpty())
        request.topic = topic;
    request.numQuestions = questionCount_;
    request.difficulty = difficulty_;
    request.questionType = questionType_;
    request.forceRegenerate = lastGenerated_ && lastGenerated_->first == selectedCourseId_ &&
                              sameQuiz(lastGenerated_->second, request);
    return request;
}

void QuizSetupModel::load() {
    tasks_.spawn(loadCourses(this, QuizLaunchRequests::takeAutoStart()));
}

void QuizSetupModel::followPendingCourse() {
    if (isLoadingCourses_)
        return;
    const QString pending = QuizLaunchRequests::pendingCourseId();
    if (pending.isEmpty())
        return;
    if (!CourseChoices::contains(courses_, pending)) {
        load();
        return;
    }
    QuizLaunchRequests::takePendingCourseId();
    selectCourse(pending);
}

async::Task<void> QuizSetupModel::loadCourses(QuizSetupModel* self, bool autoStart) {
    self->setLoadingCourses(true);
    try {
        const UserAPI api(self->client_);
        const BootstrapResponse answer = co_await api.bootstrap();
        self->courses_ = answer.courses;
    } catch (...) {
        self->coursesError_ =
            QStringLiteral("Couldn't load courses: ") + FailureMessage::describe(std::current_exception());
        Q_EMIT self->coursesErrorChanged();
        self->setLoadingCourses(false);
        co_return;
    }
    self->coursesLoaded_ = true;
    if (!self->coursesError_.isEmpty()) {
        self->coursesError_.clear();
        Q_EMIT self->coursesErrorChanged();
    }
    self->setLoadingCourses(false);
    Q_EMIT self->coursesChanged();

    const QString pending = QuizLaunchRequests::takePendingCourseId();
    const auto known = [self](const QString& id) {
        return std::any_of(self->courses_.begin(), self->courses_.end(),
                           [&](const CourseSummary& course) { return course.courseId == id; });
    };
    QString selection = self->selectedCourseId_;
    if (!pending.isEmpty() && known(pending))
        selection = pending;
    else if (!known(selection))
        selection = self->courses_.isEmpty() ? QString() : self->courses_.first().courseId;
    if (selection != self->selectedCourseId_) {
        self->selectedCourseId_ = selection;
        Q_EMIT self->selectedCourseChanged();
    }
    self->refreshCacheStatus();
    if (autoStart && !self->courses_.isEmpty())
        self->generate();
}

void QuizSetupModel::refreshCacheStatus() {
    tasks_.cancel(cacheTask_);
    cacheStatus_.reset();
    isLoadingCacheStatus_ = !selectedCourseId_.isEmpty();
    Q_EMIT cacheStatusChanged();
    if (isLoadingCacheStatus_)
        cacheTask_ = tasks_.spawn(fetchCacheStatus(this, selectedCourseId_, questionType_));
}

async::Task<void> QuizSetupModel::fetchCacheStatus(QuizSetupModel* self, QString courseId,
                                                   QuizQuestionType type) {
    // The quota lines are a hint: when they cannot be fetched the setup simply goes without them.
    try {
        self->cacheStatus_ = co_await QuizAPI(self->client_).cacheStatus(courseId, type);
    } catch (...) {
    }
    self->isLoadingCacheStatus_ = false;
    Q_EMIT self->cacheStatusChanged();
}

void QuizSetupModel::generate() {
    if (!canGenerate())
        return;
    setErrorText({});
    setJobStatus({});
    generationStart_ = async::Clock::current().now();
    setElapsedSeconds(0);
    setGenerating(true);
    counterTask_ = tasks_.spawn(countSeconds(this));
    generationTask_ = tasks_.spawn(runGeneration(this, selectedCourseId_, request()));
}

async::Task<void> QuizSetupModel::countSeconds(QuizSetupModel* self) {
    async::Clock& clock = async::Clock::current();
    while (true) {
        co_await clock.sleep(1s);
        self->setElapsedSeconds(self->generationStart_.secsTo(clock.now()));
    }
}

async::Task<void> QuizSetupModel::runGeneration(QuizSetupModel* self, QString courseId,
                                                GenerateQuizRequest request) {
    GenerateQuizResponse response;
    try {
        const auto observe = [self](GenerationJobStatus status) {
            self->setJobStatus(json::rawValue(status));
        };
        response = co_await QuizAPI(self->client_).generate(courseId, request, observe);
    } catch (...) {
        self->finishGeneration();
        self->setErrorText(QStringLiteral("Couldn't generate quiz: ") +
                           SentenceText::completed(FailureMessage::phrase(std::current_exception())));
        co_return;
    }
    self->finishGeneration();
    if (response.questions.isEmpty()) {
        self->setErrorText(emptyQuizText);
        co_return;
    }
    self->lastGenerated_ = std::make_pair(courseId, request);
    Q_EMIT self->generated(courseId, request, response);
}

void QuizSetupModel::cancel() {
    if (!isGenerating_)
        return;
    tasks_.cancel(generationTask_);
    finishGeneration();
}

void QuizSetupModel::finishGeneration() {
    tasks_.cancel(counterTask_);
    setGenerating(false);
}

void QuizSetupModel::setGenerating(bool generating) {
    if (generating == isGenerating_)
        return;
    isGenerating_ = generating;
    Q_EMIT isGeneratingChanged();
    Q_EMIT jobStatusTextChanged();
}

void QuizSetupModel::setJobStatus(const QString& status) {
    if (status == jobStatus_)
        return;
    jobStatus_ = status;
    Q_EMIT jobStatusTextChanged();
}

void QuizSetupModel::setElapsedSeconds(qint64 seconds) {
    if (seconds == elapsedSeconds_)
        return;
    elapsedSeconds_ = seconds;
    Q_EMIT jobStatusTextChanged();
}

void QuizSetupModel::setErrorText(const QString& text) {
    if (text == errorText_)
        return;
    errorText_ = text;
    Q_EMIT errorTextChanged();
}

void QuizSetupModel::setLoadingCourses(bool loading) {
    if (loading == isLoadingCourses_)
        return;
    isLoadingCourses_ = loading;
    Q_EMIT isLoadingCoursesChanged();
}
