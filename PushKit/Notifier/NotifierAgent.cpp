#include "NotifierAgent.h"

#include "AppLauncher.h"
#include "NotifierLogging.h"

#include <QDBusConnectionInterface>
#include <QDBusMetaType>

#include <algorithm>

namespace {

const QString invalidArgument = QStringLiteral("com.orbelo.desktop.Notifier.Error.InvalidArgument");
const QString limitExceeded = QStringLiteral("com.orbelo.desktop.Notifier.Error.LimitExceeded");

} // namespace

NotifierAgent::NotifierAgent(QDBusConnection bus, PendingStore store, QTimeZone zone, QObject* parent)
    : QObject(parent), bus_(bus), scheduler_(std::move(store), std::move(zone)), notifications_(bus) {
    qDBusRegisterMetaType<QList<QVariantMap>>();
    connect(&scheduler_, &NotificationScheduler::due, &notifications_, &DesktopNotifications::show);
    connect(&notifications_, &DesktopNotifications::shown, &scheduler_, &NotificationScheduler::delivered);
    connect(&notifications_, &DesktopNotifications::failed, &scheduler_,
            &NotificationScheduler::deliveryFailed);
    connect(&notifications_, &DesktopNotifications::serverAppeared, &scheduler_,
            &NotificationScheduler::retryUndelivered);
    connect(&notifications_, &DesktopNotifications::activated, this,
            [](const QString& link) { AppLauncher::open(link); });
    connect(&scheduler_, &NotificationScheduler::countChanged, this, &NotifierAgent::updateIdle);
    connect(&notifications_, &DesktopNotifications::openCountChanged, this, &NotifierAgent::updateIdle);
}

NotifierAgent::~NotifierAgent() {
    if (idleTimer_)
        idleClock_->cancel(idleTimer_);
}

bool NotifierAgent::start() {
    // Served before the name is taken, so a call that activated the agent finds the object.
    bus_.registerObject(objectPath, this, QDBusConnection::ExportScriptableSlots);
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        bus_.interface()->registerService(serviceName, QDBusConnectionInterface::DontQueueService,
                                          QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        qCWarning(lcNotifier, "another orbelo-notifier owns %s; this one exits", qUtf8Printable(serviceName));
        bus_.unregisterObject(objectPath);
        return false;
    }
    bus_.connect(QString(), QStringLiteral("/org/freedesktop/DBus/Local"),
                 QStringLiteral("org.freedesktop.DBus.Local"), QStringLiteral("Disconnected"), this,
                 SLOT(onBusDisconnected()));
    scheduler_.start();
    updateIdle();
    return true;
}

void NotifierAgent::onBusDisconnected() {
    qCInfo(lcNotifier, "the session bus is gone; exiting");
    Q_EMIT finished();
}

void NotifierAgent::Add(const QString& id, const QString& title, const QString& body,
                        const QString& soundName, const QVariantMap& userInfo, const QVariantMap& trigger) {
    QString error;
    std::optional<NotificationRequest> request =
        NotificationRequest::fromCall(id, title, body, soundName, userInfo, trigger, &error);
    if (!request)
        return refuse(invalidArgument, error);
    const bool replacing =
        std::ranges::any_of(scheduler_.pending(), [&id](const auto& r) { return r.id == id; });
    if (!replacing && scheduler_.count() >= maxPending)
        return refuse(limitExceeded,
                      QStringLiteral("at most %1 notifications can be pending").arg(maxPending));
    scheduler_.add(std::move(*request));
    updateIdle();
}

uint NotifierAgent::RemoveByIds(const QStringList& ids) {
    const int removed = scheduler_.removeByIds(ids);
    updateIdle();
    return uint(removed);
}

uint NotifierAgent::RemoveByPrefix(const QString& prefix) {
    const int removed = scheduler_.removeByPrefix(prefix);
    updateIdle();
    return uint(removed);
}

QList<QVariantMap> NotifierAgent::ListPending() {
    QList<QVariantMap> list;
    for (const NotificationRequest& request : scheduler_.pending())
        list.append(request.toVariantMap());
    updateIdle();
    return list;
}

void NotifierAgent::refuse(const QString& errorName, const QString& message) {
    if (calledFromDBus())
        sendErrorReply(errorName, message);
    qCInfo(lcNotifier, "refused a request: %s", qUtf8Printable(message));
}

void NotifierAgent::updateIdle() {
    if (idleTimer_) {
        idleClock_->cancel(idleTimer_);
        idleTimer_ = 0;
    }
    if (scheduler_.count() > 0 || notifications_.openCount() > 0)
        return;
    idleClock_ = &async::Clock::current();
    idleTimer_ = idleClock_->schedule(idleGrace, [this] {
        idleTimer_ = 0;
        qCInfo(lcNotifier, "nothing pending; exiting");
        bus_.unregisterService(serviceName);
        bus_.unregisterObject(objectPath);
        Q_EMIT finished();
    });
}
