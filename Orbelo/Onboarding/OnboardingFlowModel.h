#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "Onboarding/OnboardingAnswers.h"
#include "Onboarding/OnboardingOption.h"
#include "Onboarding/OnboardingStep.h"
#include "TaskScope.h"
#include "User/UserProfileResponse.h"

#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <chrono>
#include <functional>

class PreferencesStore;

// The first-run questionnaire: five questions and a summary. Single-choice questions move on by
// themselves shortly after a tap; every change of the answers is saved to the profile after a
// short pause, and "Start studying" sends the last save with the completion flag, after which the
// chosen interests are also kept locally for the interests editor.
class OnboardingFlowModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString step READ stepName NOTIFY stepChanged)
    Q_PROPERTY(int stepIndex READ stepIndex NOTIFY changed)
    Q_PROPERTY(QString progressText READ progressText NOTIFY changed)
    Q_PROPERTY(QString title READ title NOTIFY changed)
    Q_PROPERTY(QString subtitle READ subtitle NOTIFY changed)
    Q_PROPERTY(QString hint READ hint NOTIFY changed)
    Q_PROPERTY(bool isSingleChoice READ isSingleChoice NOTIFY changed)
    Q_PROPERTY(QVariantList options READ options NOTIFY stepChanged)
    Q_PROPERTY(QStringList selectedValues READ selectedValues NOTIFY changed)
    Q_PROPERTY(QStringList interests READ interests NOTIFY changed)
    Q_PROPERTY(bool canContinue READ canContinue NOTIFY changed)
    Q_PROPERTY(bool canGoBack READ canGoBack NOTIFY changed)
    Q_PROPERTY(bool isFinishing READ isFinishing NOTIFY changed)
    Q_PROPERTY(bool showSlowHint READ showSlowHint NOTIFY changed)
    Q_PROPERTY(QString slowHint READ slowHint CONSTANT)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY changed)
    Q_PROPERTY(QString sampleHeading READ sampleHeading NOTIFY changed)
    Q_PROPERTY(QString sampleSentence READ sampleSentence NOTIFY changed)
    Q_PROPERTY(QString sampleFollowUp READ sampleFollowUp NOTIFY changed)
    Q_PROPERTY(QString sampleCaption READ sampleCaption CONSTANT)
    Q_PROPERTY(QVariantList summary READ summary NOTIFY changed)
    Q_PROPERTY(bool reduceMotion READ reduceMotion WRITE setReduceMotion NOTIFY reduceMotionChanged)
public:
    // Sends a profile change; the default is "PUT /api/user/profile" with the app's client.
    using SaveProfile = std::function<async::Task<UserProfileResponse>(const UserProfileUpdateRequest&)>;

    static constexpr std::chrono::milliseconds advanceDelay{300};
    static constexpr std::chrono::milliseconds saveDebounce{600};
    static constexpr std::chrono::seconds slowSaveThreshold{5};

    explicit OnboardingFlowModel(QObject* parent = nullptr);
    // `preferences` outlives the model.
    OnboardingFlowModel(SaveProfile save, PreferencesStore& preferences, QObject* parent = nullptr);

    OnboardingStep currentStep() const { return step_; }
    const OnboardingAnswers& answers() const { return answers_; }

    QString stepName() const { return OnboardingSteps::rawValue(step_); }
    int stepIndex() const { return OnboardingSteps::index(step_); }
    QString progressText() const { return OnboardingSteps::progress(step_); }
    QString title() const { return OnboardingSteps::title(step_); }
    QString subtitle() const { return OnboardingSteps::subtitle(step_); }
    QString hint() const { return OnboardingSteps::hint(step_, !answers_.goals.isEmpty()); }
    bool isSingleChoice() const { return OnboardingSteps::isSingleChoice(step_); }
    // The current question's cards: {value, label, detail}. Empty for interests and the summary.
    QVariantList options() const;
    // The values picked on the current question.
    QStringList selectedValues() const;
    QStringList interests() const { return answers_.interests; }
    bool canContinue() const;
    bool canGoBack() const;
    bool isFinishing() const { return isFinishing_; }
    bool showSlowHint() const { return showSlowHint_; }
    QString slowHint() const { return QStringLiteral("This is taking longer than usual — still working…"); }
    QString errorMessage() const { return errorMessage_; }
    QString sampleHeading() const;
    QString sampleSentence() const;
    QString sampleFollowUp() const;
    QString sampleCaption() const;
    // The summary rows: {label, value}.
    QVariantList summary() const;
    bool reduceMotion() const { return reduceMotion_; }
    void setReduceMotion(bool reduce);
    // No pause before moving on when the user has asked for less motion.
    std::chrono::milliseconds currentAdvanceDelay() const;

    // A tap on a single-choice card: stores it and moves on after the advance delay.
    Q_INVOKABLE void choose(const QString& value);
    // A tap on a goal card.
    Q_INVOKABLE void toggleGoal(const QString& value);
    // A tap on an interest chip.
    Q_INVOKABLE void toggleInterest(const QString& name);
    // "Continue" on goals, "Continue" or "Skip" on interests.
    Q_INVOKABLE void continueToNext();
    Q_INVOKABLE void back();
    // "Start studying" on the summary; also the retry after a failed save.
    Q_INVOKABLE void startStudying();

Q_SIGNALS:
    void changed();
    void stepChanged();
    void reduceMotionChanged();
    // Text for assistive technology: the new question, or why finishing failed.
    void announcement(const QString& text);
    // The last save went through; `openLibrary` asks the shell to open the Library next.
    void finished(bool openLibrary);

private:
    static async::Task<void> advanceAfterDelay(OnboardingFlowModel* self, OnboardingStep from);
    static async::Task<void> saveAfterDebounce(OnboardingFlowModel* self);
    static async::Task<void> finishSave(OnboardingFlowModel* self);
    static async::Task<void> revealSlowHint(OnboardingFlowModel* self);
    void goTo(OnboardingStep step);
    void answersChanged();
    void finishFailed(std::exception_ptr error);
    const QList<OnboardingOption>* currentOptions() const;

    SaveProfile save_;
    PreferencesStore& preferences_;
    OnboardingStep step_ = OnboardingStep::interests;
    OnboardingAnswers answers_;
    bool isFinishing_ = false;
    bool showSlowHint_ = false;
    bool reduceMotion_ = false;
    QString errorMessage_;
    async::TaskScope::TaskId pendingAdvance_ = 0;
    async::TaskScope::TaskId pendingSave_ = 0;
    async::TaskScope::TaskId slowHintTask_ = 0;
    async::TaskScope tasks_; // last: tasks end before what they use
};
