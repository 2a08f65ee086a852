#include "Quiz/QuizModel.h"

#include "AppInfo.h"
#include "Auth/AuthSession.h"
#include "Common/AppContext.h"
#include "Common/CurrentUser.h"
#include "DesktopUrlOpener.h"
#include "PreferencesStore.h"
#include "Quiz/QuizLaunchRequests.h"

QuizModel::QuizModel(QObject* parent)
    : QuizModel(AuthSession::makeAPIClient(), PreferencesStore::standard(),
                std::make_unique<DesktopUrlOpener>(), nullptr, CurrentUser::id, AppInfo::version(), parent) {}

QuizModel::QuizModel(APIClient client, PreferencesStore& preferences, UrlOpener& opener,
                     QuizResult::UserIdSource userId, const QString& appVersion, QObject* parent)
    : QuizModel(std::move(client), preferences, nullptr, &opener, std::move(userId), appVersion, parent) {}

QuizModel::QuizModel(APIClient client, PreferencesStore& preferences, std::unique_ptr<UrlOpener> owned,
                     UrlOpener* borrowed, QuizResult::UserIdSource userId, const QString& appVersion,
                     QObject* parent)
    : QObject(parent), ownedOpener_(std::move(owned)),
      reviewPrompt_(preferences, ownedOpener_ ? *ownedOpener_ : *borrowed, appVersion), setup_(client),
      result_(client, std::move(userId), reviewPrompt_) {
    connect(&setup_, &QuizSetupModel::generated, this,
            [this](const QString& courseId, const GenerateQuizRequest& request,
                   const GenerateQuizResponse& response) {
                courseId_ = courseId;
                quizId_ = response.quizId.value_or(QString());
                request_ = request;
                questions_ = response.questions;
                note_ = response.note.value_or(QString());
                run();
            });
    connect(&runner_, &QuizRunner::finished, this,
            [this](const QMap<int, QString>& answers, double elapsedSeconds, const QString& attemptId) {
                result_.show(courseId_, quizId_, request_, questions_, answers, elapsedSeconds, attemptId);
                setPhase(Phase::Result);
            });
}

QuizModel::~QuizModel() = default;

void QuizModel::setContext(AppContext* context) {
    if (!AppContext::switchTo(context_, context, this))
        return;
    if (context) {
        // "quiz-auto-start" clicked while this tab shows: the setup starts a quiz as when it opens
        // with the link; during a quiz or on its result the user is in one already, and the link is
        // dropped.
        connect(context, &AppContext::studyReminderTapped, this, [this](const QVariant& link) {
            if (link.toString() != QuizLaunchRequests::autoStartLink)
                return;
            if (phase_ == Phase::Setup)
                setup_.load();
            else
                QuizLaunchRequests::takeAutoStart();
        });
        // A quiz notification opened while this tab is kept: its course is selected in the setup,
        // which shows unless a quiz is under way; a test in progress is never thrown away for it.
        connect(context, &AppContext::notificationSelected, this,
                [this](const NotificationDestination& destination) {
                    if (destination.kind != NotificationDestination::Kind::quizSetup)
                        return;
                    setup_.followPendingCourse();
                    if (phase_ == Phase::Result)
                        setPhase(Phase::Setup);
                });
    }
    Q_EMIT contextChanged();
}

void QuizModel::load() {
    setup_.load();
}

void QuizModel::cancelRun() {
    if (phase_ == Phase::Running)
        setPhase(Phase::Setup);
}

void QuizModel::retake() {
    if (phase_ == Phase::Result)
        run();
}

void QuizModel::newQuiz() {
    if (phase_ == Phase::Result)
        setPhase(Phase::Setup);
}

void QuizModel::run() {
    runner_.start(questions_, request_.questionType, request_.difficulty, note_);
    setPhase(Phase::Running);
}

void QuizModel::setPhase(Phase phase) {
    if (phase == phase_)
        return;
    // The rating card belongs to the result it followed.
    if (phase_ == Phase::Result)
        reviewPrompt_.dismiss();
    phase_ = phase;
    Q_EMIT phaseChanged();
}
