#pragma once

#include <QObject>
#include <QPointer>

#include "APIClient.h"
#include "Quiz/QuizResult.h"
#include "Quiz/QuizRunner.h"
#include "Quiz/QuizSetupModel.h"
#include "Quiz/ReviewPrompt.h"

#include <QtQml/qqmlregistration.h>

#include <memory>

class PreferencesStore;
class UrlOpener;

class AppContext;

// The Quiz tab: setting up a practice test, taking it, and its result. A generated quiz runs at
// once; finishing shows the result, from which the same questions can be retaken or a new quiz
// set up. Cancel in the runner goes back to the setup.
class QuizModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(Phase phase READ phase NOTIFY phaseChanged)
    Q_PROPERTY(QuizSetupModel* setup READ setup CONSTANT)
    Q_PROPERTY(QuizRunner* runner READ runner CONSTANT)
    Q_PROPERTY(QuizResult* result READ result CONSTANT)
    Q_PROPERTY(ReviewPrompt* reviewPrompt READ reviewPrompt CONSTANT)
    Q_PROPERTY(AppContext* context READ context WRITE setContext NOTIFY contextChanged)
    Q_MOC_INCLUDE("Common/AppContext.h")
public:
    // Capitalised for QML.
    enum class Phase { Setup, Running, Result };
    Q_ENUM(Phase)

    // The app's backend client, preferences, desktop, signed-in user and version.
    explicit QuizModel(QObject* parent = nullptr);
    QuizModel(APIClient client, PreferencesStore& preferences, UrlOpener& opener,
              QuizResult::UserIdSource userId, const QString& appVersion, QObject* parent = nullptr);
    ~QuizModel() override;

    Phase phase() const { return phase_; }
    QuizSetupModel* setup() { return &setup_; }
    QuizRunner* runner() { return &runner_; }
    QuizResult* result() { return &result_; }
    ReviewPrompt* reviewPrompt() { return &reviewPrompt_; }

    // The setup's courses.
    Q_INVOKABLE void load();
    // The runner's "Cancel".
    Q_INVOKABLE void cancelRun();
    // "Retake same quiz".
    Q_INVOKABLE void retake();
    // "Generate new quiz".
    Q_INVOKABLE void newQuiz();
    AppContext* context() const { return context_; }
    void setContext(AppContext* context);

Q_SIGNALS:
    void contextChanged();
    void phaseChanged();

private:
    // `borrowed` is used when nothing is owned.
    QuizModel(APIClient client, PreferencesStore& preferences, std::unique_ptr<UrlOpener> owned,
              UrlOpener* borrowed, QuizResult::UserIdSource userId, const QString& appVersion,
              QObject* parent);
    void run();
    void setPhase(Phase phase);

    std::unique_ptr<UrlOpener> ownedOpener_;
    ReviewPrompt reviewPrompt_;
    QuizSetupModel setup_;
    QuizRunner runner_;
    QuizResult result_;
    Phase phase_ = Phase::Setup;
    QString courseId_;
    QString quizId_;
    GenerateQuizRequest request_;
    QList<QuizQuestion> questions_;
    QString note_;
    QPointer<AppContext> context_;
};
