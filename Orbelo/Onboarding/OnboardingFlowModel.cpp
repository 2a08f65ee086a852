#include "Onboarding/OnboardingFlowModel.h"

#include "APIError.h"
#include "Auth/AuthSession.h"
#include "Clock.h"
#include "Interests/InterestCatalog.h"
#include "Interests/InterestSelectionStore.h"
#include "Onboarding/OnboardingHoursBand.h"
#include "Onboarding/OnboardingReadySample.h"
#include "PreferencesStore.h"
#include "User/UserAPI.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QVariantMap>

namespace {

QVariantMap card(const QString& value, const QString& label, const QString& detail) {
    return {{QStringLiteral("value"), value},
            {QStringLiteral("label"), label},
            {QStringLiteral("detail"), detail}};
}

QVariantMap summaryRow(const QString& label, const QString& value) {
    return {{QStringLiteral("label"), label}, {QStringLiteral("value"), value}};
}

QString labelFor(const QList<OnboardingOption>& options, const std::optional<QString>& value) {
    if (!value)
        return QStringLiteral("Not chosen");
    const auto option = OnboardingOption::find(options, *value);
    return option ? option->label : *value;
}

// Why the last save failed, as a sentence: the server's own message when it sent one.
QString failureReason(std::exception_ptr error) {
    QString reason;
    try {
        std::rethrow_exception(error);
    } catch (const APIError& e) {
        if (e.kind() == APIError::Kind::unauthorized) {
            reason = QStringLiteral("you're signed out");
        } else if (e.kind() == APIError::Kind::server) {
            const QJsonObject body = QJsonDocument::fromJson(e.body().value_or(QString()).toUtf8()).object();
            reason = body.value(QLatin1String("detail")).toString();
            if (reason.isEmpty())
                reason = QStringLiteral("the server answered %1").arg(e.status());
        } else {
            reason = e.errorDescription();
        }
    } catch (const std::exception& e) {
        reason = QString::fromUtf8(e.what());
    } catch (...) {
        reason = QStringLiteral("something went wrong");
    }
    reason = reason.trimmed();
    static const QList<QChar> endings{u'.', u'!', u'?', u'…'};
    if (reason.isEmpty() || !endings.contains(reason.back()))
        reason += QLatin1Char('.');
    return reason;
}

} // namespace

OnboardingFlowModel::OnboardingFlowModel(QObject* parent)
    : OnboardingFlowModel(
          [](const UserProfileUpdateRequest& update) {
              return UserAPI(AuthSession::makeAPIClient()).updateProfile(update);
          },
          PreferencesStore::standard(), parent) {}

OnboardingFlowModel::OnboardingFlowModel(SaveProfile save, PreferencesStore& preferences, QObject* parent)
    : QObject(parent), save_(std::move(save)), preferences_(preferences) {}

const QList<OnboardingOption>* OnboardingFlowModel::currentOptions() const {
    switch (step_) {
    case OnboardingStep::level:
        return &OnboardingOption::levels();
    case OnboardingStep::goals:
        return &OnboardingOption::goals();
    case OnboardingStep::style:
        return &OnboardingOption::styles();
    case OnboardingStep::interests:
    case OnboardingStep::time:
    case OnboardingStep::ready:
        break;
    }
    return nullptr;
}

QVariantList OnboardingFlowModel::options() const {
    QVariantList cards;
    if (step_ == OnboardingStep::time) {
        for (const OnboardingHoursBand& band : OnboardingHoursBand::all())
            cards << card(band.id, band.label, band.detail);
    } else if (const QList<OnboardingOption>* options = currentOptions()) {
        for (const OnboardingOption& option : *options)
            cards << card(option.value, option.label, option.detail);
    }
    return cards;
}

QStringList OnboardingFlowModel::selectedValues() const {
    std::optional<QString> choice;
    switch (step_) {
    case OnboardingStep::interests:
        return answers_.interests;
    case OnboardingStep::goals:
        return answers_.goals;
    case OnboardingStep::level:
        choice = answers_.level;
        break;
    case OnboardingStep::time:
        choice = answers_.hours;
        break;
    case OnboardingStep::style:
        choice = answers_.style;
        break;
    case OnboardingStep::ready:
        break;
    }
    return choice ? QStringList{*choice} : QStringList{};
}

bool OnboardingFlowModel::canContinue() const {
    if (isFinishing_)
        return false;
    if (step_ == OnboardingStep::goals)
        return !answers_.goals.isEmpty();
    return step_ == OnboardingStep::interests;
}

bool OnboardingFlowModel::canGoBack() const {
    return !isFinishing_ && step_ != OnboardingStep::interests;
}

QString OnboardingFlowModel::sampleHeading() const {
    return OnboardingReadySample::forInterests(answers_.interests).heading;
}

QString OnboardingFlowModel::sampleSentence() const {
    return OnboardingReadySample::forInterests(answers_.interests).sentence;
}

QString OnboardingFlowModel::sampleFollowUp() const {
    return OnboardingReadySample::forInterests(answers_.interests).followUp;
}

QString OnboardingFlowModel::sampleCaption() const {
    return OnboardingReadySample::caption();
}

QVariantList OnboardingFlowModel::summary() const {
    QStringList goals;
    for (const QString& goal : answers_.goals)
        goals << labelFor(OnboardingOption::goals(), goal);
    QString hours = QStringLiteral("Not chosen");
    if (answers_.hours) {
        if (const auto band = OnboardingHoursBand::withId(*answers_.hours))
            hours = band->label;
    }
    return {summaryRow(QStringLiteral("Built around"), answers_.interests.isEmpty()
                                                           ? QStringLiteral("Your own material")
                                                           : answers_.interests.join(QStringLiteral(", "))),
            summaryRow(QStringLiteral("Level"), labelFor(OnboardingOption::levels(), answers_.level)),
            summaryRow(QStringLiteral("Working toward"),
                       goals.isEmpty() ? QStringLiteral("Not chosen") : goals.join(QStringLiteral(", "))),
            summaryRow(QStringLiteral("Each week"), hours),
            summaryRow(QStringLiteral("Learns by"), labelFor(OnboardingOption::styles(), answers_.style))};
}

void OnboardingFlowModel::setReduceMotion(bool reduce) {
    if (reduce == reduceMotion_)
        return;
    reduceMotion_ = reduce;
    Q_EMIT reduceMotionChanged();
}

std::chrono::milliseconds OnboardingFlowModel::currentAdvanceDelay() const {
    return reduceMotion_ ? std::chrono::milliseconds(0) : advanceDelay;
}

void OnboardingFlowModel::choose(const QString& value) {
    if (isFinishing_ || !isSingleChoice())
        return;
    std::optional<QString>* answer = nullptr;
    bool known = false;
    switch (step_) {
    case OnboardingStep::level:
        answer = &answers_.level;
        known = OnboardingOption::find(OnboardingOption::levels(), value).has_value();
        break;
    case OnboardingStep::time:
        answer = &answers_.hours;
        known = OnboardingHoursBand::withId(value).has_value();
        break;
    case OnboardingStep::style:
        answer = &answers_.style;
        known = OnboardingOption::find(OnboardingOption::styles(), value).has_value();
        break;
    default:
        return;
    }
    if (!known)
        return;
    if (*answer != value) {
        *answer = value;
        answersChanged();
    }
    // A newer tap restarts the pause before moving on.
    tasks_.cancel(pendingAdvance_);
    pendingAdvance_ = tasks_.spawn(advanceAfterDelay(this, step_));
}

async::Task<void> OnboardingFlowModel::advanceAfterDelay(OnboardingFlowModel* self, OnboardingStep from) {
    co_await async::Clock::current().sleep(self->currentAdvanceDelay());
    if (self->step_ == from) {
        if (const auto next = OnboardingSteps::next(from))
            self->goTo(*next);
    }
}

void OnboardingFlowModel::toggleGoal(const QString& value) {
    if (isFinishing_ || step_ != OnboardingStep::goals ||
        !OnboardingOption::find(OnboardingOption::goals(), value))
        return;
    if (!answers_.goals.removeOne(value))
        answers_.goals << value;
    answersChanged();
}

void OnboardingFlowModel::toggleInterest(const QString& name) {
    if (isFinishing_ || step_ != OnboardingStep::interests || !InterestCatalog::contains(name))
        return;
    if (!answers_.interests.removeOne(name))
        answers_.interests << name;
    answersChanged();
}

void OnboardingFlowModel::continueToNext() {
    if (!canContinue())
        return;
    goTo(*OnboardingSteps::next(step_));
}

void OnboardingFlowModel::back() {
    if (!canGoBack())
        return;
    tasks_.cancel(pendingAdvance_);
    errorMessage_.clear();
    goTo(*OnboardingSteps::previous(step_));
}

void OnboardingFlowModel::goTo(OnboardingStep step) {
    step_ = step;
    Q_EMIT stepChanged();
    Q_EMIT changed();
    Q_EMIT announcement(progressText() + QStringLiteral(". ") + title());
}

void OnboardingFlowModel::answersChanged() {
    Q_EMIT changed();
    // A newer change replaces the save that is still waiting (or still on its way).
    tasks_.cancel(pendingSave_);
    pendingSave_ =
        tasks_.spawn(saveAfterDebounce(this), async::TaskScope::ErrorHandler([](std::exception_ptr) {
                         // The next change saves again.
                     }));
}

async::Task<void> OnboardingFlowModel::saveAfterDebounce(OnboardingFlowModel* self) {
    co_await async::Clock::current().sleep(saveDebounce);
    const UserProfileUpdateRequest update = self->answers_.profileUpdate(false);
    co_await self->save_(update);
}

void OnboardingFlowModel::startStudying() {
    if (step_ != OnboardingStep::ready || isFinishing_)
        return;
    tasks_.cancel(pendingSave_);
    isFinishing_ = true;
    showSlowHint_ = false;
    errorMessage_.clear();
    Q_EMIT changed();
    slowHintTask_ = tasks_.spawn(revealSlowHint(this));
    tasks_.spawn(finishSave(this),
                 async::TaskScope::ErrorHandler([this](std::exception_ptr error) { finishFailed(error); }));
}

async::Task<void> OnboardingFlowModel::finishSave(OnboardingFlowModel* self) {
    const UserProfileUpdateRequest update = self->answers_.profileUpdate(true);
    co_await self->save_(update);
    // The interests editor starts from the local selection. With none chosen the profile's
    // interests were left as they were, so the editor is left to read them from there.
    if (!self->answers_.interests.isEmpty()) {
        const QSet<QString> interests(self->answers_.interests.cbegin(), self->answers_.interests.cend());
        InterestSelectionStore(self->preferences_).setSelections(interests);
    }
    self->tasks_.cancel(self->slowHintTask_);
    // Whoever listens may close the flow and destroy this model, so not from inside this task.
    // A new student lands on the Library, where they add their first material.
    QMetaObject::invokeMethod(
        self, [self] { Q_EMIT self->finished(true); }, Qt::QueuedConnection);
}

async::Task<void> OnboardingFlowModel::revealSlowHint(OnboardingFlowModel* self) {
    co_await async::Clock::current().sleep(slowSaveThreshold);
    self->showSlowHint_ = true;
    Q_EMIT self->changed();
}

void OnboardingFlowModel::finishFailed(std::exception_ptr error) {
    tasks_.cancel(slowHintTask_);
    isFinishing_ = false;
    showSlowHint_ = false;
    errorMessage_ = QStringLiteral("Couldn't save your answers: ") + failureReason(error);
    Q_EMIT changed();
    Q_EMIT announcement(errorMessage_);
}
