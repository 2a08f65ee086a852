#include "Settings/StudyRemindersModel.h"

#include "Clock.h"
#include "Common/FailureMessage.h"
#include "NotificationManager.h"
#include "PreferencesStore.h"

using Time = StudyReminderPreferences::Time;

StudyRemindersModel::StudyRemindersModel(QObject* parent)
    : StudyRemindersModel(NotificationManager::shared(), PreferencesStore::standard(), parent) {}

StudyRemindersModel::StudyRemindersModel(NotificationManager& manager, PreferencesStore& preferences,
                                         QObject* parent)
    : QObject(parent), manager_(manager), store_(preferences), preferences_(store_.load()) {
    connect(&manager_, &NotificationManager::authorizationStatusChanged, this, &StudyRemindersModel::changed);
}

StudyRemindersModel::~StudyRemindersModel() {
    // A change still waiting for its pause is not lost with the screen.
    if (tasks_.isRunning(saveTask_)) {
        store_.save(preferences_);
        manager_.scheduleStudyRemindersDetached(preferences_);
    }
}

QVariantList StudyRemindersModel::times() const {
    QVariantList rows;
    for (qsizetype i = 0; i < preferences_.reminderTimes.size(); ++i) {
        const Time& time = preferences_.reminderTimes.at(i);
        rows.append(QVariantMap{{QStringLiteral("hour"), time.hour()},
                                {QStringLiteral("minute"), time.minute()},
                                {QStringLiteral("label"), QStringLiteral("Time %1").arg(i + 1)},
                                {QStringLiteral("text"), time.text()}});
    }
    return rows;
}

void StudyRemindersModel::setEnabled(bool enabled) {
    if (enabled == preferences_.isEnabled)
        return;
    preferences_.isEnabled = enabled;
    changedByUser();
}

void StudyRemindersModel::setTime(int index, int hour, int minute) {
    if (index < 0 || index >= preferences_.reminderTimes.size())
        return;
    const Time time(hour, minute);
    if (time == preferences_.reminderTimes.at(index))
        return;
    preferences_.reminderTimes[index] = time;
    changedByUser();
}

void StudyRemindersModel::addTime() {
    if (!canAddTime())
        return;
    const Time last = preferences_.reminderTimes.isEmpty() ? Time(8, 0) : preferences_.reminderTimes.last();
    preferences_.reminderTimes.append(Time((last.hour() + 1) % 24, last.minute()));
    changedByUser();
}

void StudyRemindersModel::removeTime(int index) {
    if (!canRemoveTime() || index < 0 || index >= preferences_.reminderTimes.size())
        return;
    preferences_.reminderTimes.removeAt(index);
    changedByUser();
}

bool StudyRemindersModel::notificationsAllowed() const {
    return manager_.notificationsAllowed();
}

void StudyRemindersModel::setNotificationsAllowed(bool allowed) {
    if (allowed == notificationsAllowed())
        return;
    manager_.setNotificationsAllowed(allowed);
    // Switching off removed the reminders; switching on brings them back.
    if (allowed)
        changedByUser();
}

QString StudyRemindersModel::notificationsOffMessage() const {
    return manager_.notificationsAllowed() &&
                   manager_.authorizationStatus() == NotificationManager::AuthorizationStatus::denied
               ? notificationsOffText
               : QString();
}

void StudyRemindersModel::changedByUser() {
    Q_EMIT changed();
    tasks_.cancel(saveTask_);
    saveTask_ =
        tasks_.spawn(saveAfterPause(this), async::TaskScope::ErrorHandler([this](std::exception_ptr error) {
                         errorMessage_ = QStringLiteral("Could not schedule reminders: ") +
                                         FailureMessage::describe(error);
                         Q_EMIT changed();
                     }));
}

async::Task<void> StudyRemindersModel::saveAfterPause(StudyRemindersModel* self) {
    co_await async::Clock::current().sleep(savePause);
    self->store_.save(self->preferences_);
    const StudyReminderPreferences preferences = self->preferences_;
    co_await self->manager_.scheduleStudyReminders(preferences);
    if (!self->errorMessage_.isEmpty()) {
        self->errorMessage_.clear();
        Q_EMIT self->changed();
    }
}
