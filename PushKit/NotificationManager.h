#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "NotifierClient.h"
#include "StudyReminderPreferences.h"
#include "TaskScope.h"

#include <QDBusConnection>
#include <QDateTime>
#include <QPointer>

#include <memory>

class PreferencesStore;
class QDBusServiceWatcher;

// The app's local notifications, one per process: study reminders and the focus timer's alerts,
// kept and shown by the orbelo-notifier agent (PushKit/README.md), and where a clicked
// notification's deep link waits for the code that routes it.
//
// Authorization: Linux asks no one. Notifications are authorized while a notification server owns
// org.freedesktop.Notifications on the session bus and the user has not switched Orbelo's
// notifications off (notificationsAllowed); otherwise they are denied.
//
// Presentation: the agent hands every due notification to the desktop's notification server, which
// shows it as a banner and in its list with the message sound, whether Orbelo's window is in front
// ("foreground"), behind, or closed; there is no badge. So nothing is decided here per
// notification.
class NotificationManager : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString pendingDeepLink READ pendingDeepLink NOTIFY pendingDeepLinkChanged)
    Q_PROPERTY(
        AuthorizationStatus authorizationStatus READ authorizationStatus NOTIFY authorizationStatusChanged)
    Q_PROPERTY(bool notificationsAllowed READ notificationsAllowed WRITE setNotificationsAllowed NOTIFY
                   authorizationStatusChanged)
public:
    enum class AuthorizationStatus { notDetermined = 0, denied = 1, authorized = 2 };
    Q_ENUM(AuthorizationStatus)

    static inline const QString studyReminderPrefix = QStringLiteral("study-reminder-");
    static inline const QString focusTimerPrefix = QStringLiteral("pomodoro-");
    static inline const QString studyReminderTitle = QStringLiteral("Time to study");
    static inline const QString studyReminderBody = QStringLiteral("Take a quick quiz from your library.");
    static inline const QString studyReminderDeepLink = QStringLiteral("quiz-auto-start");
    // The user's own switch for Orbelo's notifications (on unless switched off).
    static inline const QString allowedKey = QStringLiteral("com.orbelo.notificationsAllowed");
    static inline const QString notificationServerName = QStringLiteral("org.freedesktop.Notifications");

    // The agent over the session bus and the app's preferences.
    static NotificationManager& shared();
    // Installs a replacement for shared() (tests); nullptr restores the real one.
    static void setSharedOverride(NotificationManager* manager);

    // `bus` is watched for a notification server.
    NotificationManager(std::shared_ptr<NotifierClient> agent, QDBusConnection bus,
                        PreferencesStore& preferences, QObject* parent = nullptr);
    ~NotificationManager() override;

    // As last learned from the bus: notDetermined until the bus has answered once.
    AuthorizationStatus authorizationStatus() const;
    // Asks the bus whether a notification server is there, then answers.
    async::Task<AuthorizationStatus> currentAuthorizationStatus();
    // There is no prompt on Linux: true when notifications are authorized now.
    async::Task<bool> requestAuthorization();
    bool notificationsAllowed() const;
    // Switching off also removes every pending notification of the app.
    void setNotificationsAllowed(bool allowed);

    // Replaces every pending study reminder with one daily request per time of `preferences`
    // (none when they are off). Throws the first NotificationError; reminders added before it stay.
    async::Task<void> scheduleStudyReminders(StudyReminderPreferences preferences);
    // The same without waiting for the outcome, which is only logged: for a screen that goes away
    // with a change not yet scheduled.
    void scheduleStudyRemindersDetached(const StudyReminderPreferences& preferences);
    async::Task<void> cancelStudyReminders();
    async::Task<QList<LocalNotificationRequest>> pendingStudyReminders();
    // One alert at `fireDate`; nothing when it is not in the future.
    async::Task<void> scheduleFocusTimerNotification(QString title, QString body, QDateTime fireDate);
    async::Task<void> cancelFocusTimerNotifications();

    // A notification was clicked: its userInfo's "deepLink" text (absent when it has none) becomes
    // the pending deep link and is announced by studyReminderTapped.
    void didReceive(const QVariantMap& userInfo);
    // `orbelo --deep-link <link>`: the agent's hand-over of a click.
    void openDeepLink(const QString& link);

    // Remote notifications come through the agent's push stream, which needs the device token.
    // Only an authorized app asks for it.
    static bool registersForRemoteNotifications(AuthorizationStatus status);
    // The start-up registration check: when authorized, asks the agent for the device token and
    // announces it (pushTokenRegistered), or the failure. Runs in the background.
    void runRegistrationCheck();
    // The agent opens the push stream of `origin` and keeps it open; stopRemotePush closes it and
    // forgets the token. Failures are logged.
    void startRemotePush(const QString& origin, const QString& certificatePem);
    void stopRemotePush();

    QString pendingDeepLink() const { return pendingDeepLink_; }
    void setPendingDeepLink(const QString& link);
    // The pending link, which is then no longer pending.
    QString takePendingDeepLink();

Q_SIGNALS:
    // A notification was clicked: its deep link (text), or null when it had none.
    void studyReminderTapped(const QVariant& deepLink);
    // This device's push token once the agent has one, or why it could not make or keep one.
    void pushTokenRegistered(const QString& token);
    void pushRegistrationFailed(const QString& message);
    void authorizationStatusChanged();
    // On every click, even of the same link again: each is a request to open it.
    void pendingDeepLinkChanged();
    // The agent showed a pushed notification (its id).
    void remoteNotificationReceived(const QString& notificationId);

private Q_SLOTS:
    void agentPushReceived(const QString& notificationId);

private:
    static async::Task<void> requestDeviceToken(QPointer<NotificationManager> self,
                                                std::shared_ptr<NotifierClient> agent);
    void logFailures(async::Task<void> task, const char* what);
    static async::Task<void> replaceReminders(std::shared_ptr<NotifierClient> agent, bool add,
                                              StudyReminderPreferences preferences);
    static async::Task<void> removeByPrefix(std::shared_ptr<NotifierClient> agent, QString prefix);
    static async::Task<QList<LocalNotificationRequest>>
    listStudyReminders(std::shared_ptr<NotifierClient> agent);
    static async::Task<AuthorizationStatus> askServer(QPointer<NotificationManager> self,
                                                      QDBusConnection bus);
    // `preferences` null: PreferencesStore::standard() at each use, whichever store that is then.
    NotificationManager(std::shared_ptr<NotifierClient> agent, QDBusConnection bus,
                        PreferencesStore* preferences, QObject* parent);
    PreferencesStore& preferences() const;
    void askServerInBackground();
    void setServerPresent(bool present);

    std::shared_ptr<NotifierClient> agent_;
    QDBusConnection bus_;
    PreferencesStore* preferences_;
    QDBusServiceWatcher* serverWatch_;
    std::optional<bool> serverPresent_;
    QString pendingDeepLink_;
    async::TaskScope tasks_; // last: tasks end before what they use
};
