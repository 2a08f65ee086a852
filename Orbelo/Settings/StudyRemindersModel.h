#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "StudyReminderPreferencesStore.h"
#include "TaskScope.h"

#include <QVariantList>
#include <QtQml/qqmlregistration.h>

class NotificationManager;

// The "Study Reminders" section: the daily switch, the times of day, and Orbelo's own switch for
// its notifications. Every change is saved and the reminders rescheduled once the user pauses.
class StudyRemindersModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool isEnabled READ isEnabled WRITE setEnabled NOTIFY changed)
    Q_PROPERTY(QVariantList times READ times NOTIFY changed)
    Q_PROPERTY(int timeCount READ timeCount NOTIFY changed)
    Q_PROPERTY(bool canAddTime READ canAddTime NOTIFY changed)
    Q_PROPERTY(bool canRemoveTime READ canRemoveTime NOTIFY changed)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY changed)
    Q_PROPERTY(
        bool notificationsAllowed READ notificationsAllowed WRITE setNotificationsAllowed NOTIFY changed)
    Q_PROPERTY(QString notificationsOffMessage READ notificationsOffMessage NOTIFY changed)
public:
    static constexpr int maximumTimes = 6;
    // How long the user may pause between changes before they are saved and scheduled.
    static constexpr std::chrono::milliseconds savePause{600};
    static inline const QString notificationsOffText =
        QStringLiteral("Notifications are off, so we can't remind you to study. Turn them on in your "
                       "desktop's notification settings.");

    // The app's notification manager and preferences.
    explicit StudyRemindersModel(QObject* parent = nullptr);
    StudyRemindersModel(NotificationManager& manager, PreferencesStore& preferences,
                        QObject* parent = nullptr);
    ~StudyRemindersModel() override;

    bool isEnabled() const { return preferences_.isEnabled; }
    void setEnabled(bool enabled);
    // {hour, minute, label ("Time 1"), text ("09:00")} per time, in the order chosen.
    QVariantList times() const;
    // For the rows: a count that stays the same while a time changes keeps them (and the focus).
    int timeCount() const { return int(preferences_.reminderTimes.size()); }
    bool canAddTime() const { return preferences_.reminderTimes.size() < maximumTimes; }
    // The last time stays: reminders are switched off with the switch.
    bool canRemoveTime() const { return preferences_.reminderTimes.size() > 1; }
    QString errorMessage() const { return errorMessage_; }
    bool notificationsAllowed() const;
    void setNotificationsAllowed(bool allowed);
    // Shown when Orbelo's notifications are on but the desktop has no notification server.
    QString notificationsOffMessage() const;

    // Out-of-range values are clamped.
    Q_INVOKABLE void setTime(int index, int hour, int minute);
    // A time an hour after the last one.
    Q_INVOKABLE void addTime();
    Q_INVOKABLE void removeTime(int index);

Q_SIGNALS:
    void changed();

private:
    static async::Task<void> saveAfterPause(StudyRemindersModel* self);
    void changedByUser();

    NotificationManager& manager_;
    StudyReminderPreferencesStore store_;
    StudyReminderPreferences preferences_;
    QString errorMessage_;
    async::TaskScope::TaskId saveTask_ = 0;
    async::TaskScope tasks_; // last: tasks end before what they use
};
