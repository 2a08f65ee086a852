#include "NotificationManager.h"

#include "DBusCallAwaiter.h"
#include "DBusNotifierClient.h"
#include "NotificationError.h"
#include "PreferencesStore.h"

#include <QDBusServiceWatcher>
#include <QLoggingCategory>
#include <QUuid>

namespace {

Q_LOGGING_CATEGORY(lcNotifications, "com.orbelo.desktop.Notifications")

QDBusPendingCall askNameHasOwner(const QDBusConnection& bus, const QString& name) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
    message << name;
    return bus.asyncCall(message);
}

NotificationManager* sharedOverride = nullptr;

async::Task<bool> isAuthorized(async::Task<NotificationManager::AuthorizationStatus> status) {
    co_return co_await std::move(status) == NotificationManager::AuthorizationStatus::authorized;
}

async::Task<void> addWhen(bool condition, std::shared_ptr<NotifierClient> agent,
                          LocalNotificationRequest request) {
    if (condition)
        co_await agent->add(std::move(request));
}

} // namespace

NotificationManager& NotificationManager::shared() {
    if (sharedOverride)
        return *sharedOverride;
    static NotificationManager manager(std::make_shared<DBusNotifierClient>(QDBusConnection::sessionBus()),
                                       QDBusConnection::sessionBus(), nullptr, nullptr);
    return manager;
}

void NotificationManager::setSharedOverride(NotificationManager* manager) {
    sharedOverride = manager;
}

NotificationManager::NotificationManager(std::shared_ptr<NotifierClient> agent, QDBusConnection bus,
                                         PreferencesStore& preferences, QObject* parent)
    : NotificationManager(std::move(agent), std::move(bus), &preferences, parent) {}

NotificationManager::NotificationManager(std::shared_ptr<NotifierClient> agent, QDBusConnection bus,
                                         PreferencesStore* preferences, QObject* parent)
    : QObject(parent), agent_(std::move(agent)), bus_(std::move(bus)), preferences_(preferences),
      serverWatch_(new QDBusServiceWatcher(
          notificationServerName, bus_,
          QDBusServiceWatcher::WatchForRegistration | QDBusServiceWatcher::WatchForUnregistration, this)) {
    connect(serverWatch_, &QDBusServiceWatcher::serviceRegistered, this, [this] { setServerPresent(true); });
    connect(serverWatch_, &QDBusServiceWatcher::serviceUnregistered, this,
            [this] { setServerPresent(false); });
    askServerInBackground();
    // No agent on the bus yet is fine: the match stays and hears the agent once it is started.
    bus_.connect(DBusNotifierClient::serviceName, DBusNotifierClient::objectPath,
                 DBusNotifierClient::interfaceName, QStringLiteral("PushReceived"), this,
                 SLOT(agentPushReceived(QString)));
}

NotificationManager::~NotificationManager() = default;

PreferencesStore& NotificationManager::preferences() const {
    return preferences_ ? *preferences_ : PreferencesStore::standard();
}

NotificationManager::AuthorizationStatus NotificationManager::authorizationStatus() const {
    if (!notificationsAllowed())
        return AuthorizationStatus::denied;
    if (!serverPresent_)
        return AuthorizationStatus::notDetermined;
    return *serverPresent_ ? AuthorizationStatus::authorized : AuthorizationStatus::denied;
}

async::Task<NotificationManager::AuthorizationStatus> NotificationManager::currentAuthorizationStatus() {
    return askServer(this, bus_);
}

async::Task<NotificationManager::AuthorizationStatus>
NotificationManager::askServer(QPointer<NotificationManager> self, QDBusConnection bus) {
    const QDBusMessage reply = co_await DBusCallAwaiter(askNameHasOwner(bus, notificationServerName));
    // No bus is no server.
    const bool present = reply.type() == QDBusMessage::ReplyMessage && reply.arguments().value(0).toBool();
    if (!self)
        co_return AuthorizationStatus::denied;
    self->setServerPresent(present);
    co_return self->authorizationStatus();
}

void NotificationManager::askServerInBackground() {
    tasks_.spawn(askServer(this, bus_), [](AuthorizationStatus) {});
}

async::Task<bool> NotificationManager::requestAuthorization() {
    return isAuthorized(currentAuthorizationStatus());
}

bool NotificationManager::notificationsAllowed() const {
    return preferences().boolValue(allowedKey, true);
}

void NotificationManager::setNotificationsAllowed(bool allowed) {
    if (allowed == notificationsAllowed())
        return;
    preferences().setValue(allowedKey, allowed);
    if (!allowed) {
        tasks_.spawn(removeByPrefix(agent_, studyReminderPrefix));
        tasks_.spawn(removeByPrefix(agent_, focusTimerPrefix));
    }
    Q_EMIT authorizationStatusChanged();
}

void NotificationManager::setServerPresent(bool present) {
    const AuthorizationStatus before = authorizationStatus();
    serverPresent_ = present;
    if (authorizationStatus() != before)
        Q_EMIT authorizationStatusChanged();
}

async::Task<void> NotificationManager::scheduleStudyReminders(StudyReminderPreferences preferences) {
    return replaceReminders(agent_, notificationsAllowed(), std::move(preferences));
}

async::Task<void> NotificationManager::replaceReminders(std::shared_ptr<NotifierClient> agent, bool add,
                                                        StudyReminderPreferences preferences) {
    co_await agent->removeByPrefix(studyReminderPrefix);
    if (!add || !preferences.isEnabled)
        co_return;
    for (const StudyReminderPreferences::Time& time : std::as_const(preferences.reminderTimes)) {
        LocalNotificationRequest request;
        request.identifier = studyReminderPrefix + time.identity();
        request.title = studyReminderTitle;
        request.body = studyReminderBody;
        request.userInfo = {{QStringLiteral("deepLink"), studyReminderDeepLink}};
        request.dailyTime = time;
        co_await agent->add(std::move(request));
    }
}

void NotificationManager::scheduleStudyRemindersDetached(const StudyReminderPreferences& preferences) {
    logFailures(scheduleStudyReminders(preferences), "could not schedule reminders:");
}

async::Task<void> NotificationManager::cancelStudyReminders() {
    return removeByPrefix(agent_, studyReminderPrefix);
}

async::Task<void> NotificationManager::removeByPrefix(std::shared_ptr<NotifierClient> agent, QString prefix) {
    co_await agent->removeByPrefix(std::move(prefix));
}

async::Task<QList<LocalNotificationRequest>> NotificationManager::pendingStudyReminders() {
    return listStudyReminders(agent_);
}

async::Task<QList<LocalNotificationRequest>>
NotificationManager::listStudyReminders(std::shared_ptr<NotifierClient> agent) {
    QList<LocalNotificationRequest> pending = co_await agent->listPending();
    pending.removeIf([](const LocalNotificationRequest& request) {
        return !request.identifier.startsWith(studyReminderPrefix);
    });
    co_return pending;
}

async::Task<void> NotificationManager::scheduleFocusTimerNotification(QString title, QString body,
                                                                      QDateTime fireDate) {
    LocalNotificationRequest request;
    request.identifier = focusTimerPrefix + QUuid::createUuid().toString(QUuid::WithoutBraces);
    request.title = std::move(title);
    request.body = std::move(body);
    request.fireDate = std::move(fireDate);
    const bool due = notificationsAllowed() && request.fireDate > async::Clock::current().now();
    return addWhen(due, agent_, std::move(request));
}

async::Task<void> NotificationManager::cancelFocusTimerNotifications() {
    return removeByPrefix(agent_, focusTimerPrefix);
}

bool NotificationManager::registersForRemoteNotifications(AuthorizationStatus status) {
    return status == AuthorizationStatus::authorized;
}

void NotificationManager::runRegistrationCheck() {
    tasks_.spawn(requestDeviceToken(this, agent_));
}

async::Task<void> NotificationManager::requestDeviceToken(QPointer<NotificationManager> self,
                                                          std::shared_ptr<NotifierClient> agent) {
    const AuthorizationStatus status = co_await self->currentAuthorizationStatus();
    if (!self || !registersForRemoteNotifications(status))
        co_return;
    QString token;
    try {
        token = co_await agent->deviceToken();
    } catch (const NotificationError& error) {
        qCWarning(lcNotifications) << "no push token:" << error.what();
        if (self)
            Q_EMIT self->pushRegistrationFailed(QString::fromUtf8(error.what()));
        co_return;
    }
    if (self)
        Q_EMIT self->pushTokenRegistered(token);
}

void NotificationManager::startRemotePush(const QString& origin, const QString& certificatePem) {
    logFailures(agent_->startPush(origin, certificatePem), "could not start the push stream:");
}

void NotificationManager::stopRemotePush() {
    logFailures(agent_->stopPush(), "could not stop the push stream:");
}

void NotificationManager::logFailures(async::Task<void> task, const char* what) {
    tasks_.spawn(std::move(task), async::TaskScope::ErrorHandler([what](std::exception_ptr error) {
                     try {
                         std::rethrow_exception(error);
                     } catch (const std::exception& e) {
                         qCWarning(lcNotifications) << what << e.what();
                     }
                 }));
}

void NotificationManager::agentPushReceived(const QString& notificationId) {
    Q_EMIT remoteNotificationReceived(notificationId);
}

void NotificationManager::didReceive(const QVariantMap& userInfo) {
    const QVariant deepLink = userInfo.value(QStringLiteral("deepLink"));
    const bool isText = deepLink.typeId() == QMetaType::QString;
    pendingDeepLink_ = isText ? deepLink.toString() : QString();
    qCInfo(lcNotifications) << "notification clicked, deep link" << pendingDeepLink_;
    Q_EMIT pendingDeepLinkChanged();
    Q_EMIT studyReminderTapped(isText ? deepLink : QVariant());
}

void NotificationManager::openDeepLink(const QString& link) {
    didReceive(link.isEmpty() ? QVariantMap() : QVariantMap{{QStringLiteral("deepLink"), link}});
}

void NotificationManager::setPendingDeepLink(const QString& link) {
    if (link == pendingDeepLink_)
        return;
    pendingDeepLink_ = link;
    Q_EMIT pendingDeepLinkChanged();
}

QString NotificationManager::takePendingDeepLink() {
    const QString link = std::exchange(pendingDeepLink_, QString());
    if (!link.isEmpty())
        Q_EMIT pendingDeepLinkChanged();
    return link;
}
