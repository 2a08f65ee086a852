#include "DesktopNotifications.h"

#include "NotifierLogging.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>

namespace {

const QString path = QStringLiteral("/org/freedesktop/Notifications");
const QString interface = QStringLiteral("org.freedesktop.Notifications");
const QString desktopEntry = QStringLiteral("com.orbelo.desktop");

} // namespace

DesktopNotifications::DesktopNotifications(QDBusConnection bus, QObject* parent)
    : QObject(parent), bus_(std::move(bus)) {
    auto* watcher = new QDBusServiceWatcher(
        service, bus_,
        QDBusServiceWatcher::WatchForRegistration | QDBusServiceWatcher::WatchForUnregistration, this);
    connect(watcher, &QDBusServiceWatcher::serviceRegistered, this, [this] {
        qCInfo(lcNotifier, "a notification server is on the bus");
        Q_EMIT serverAppeared();
    });
    connect(watcher, &QDBusServiceWatcher::serviceUnregistered, this, [this] {
        if (!deepLinks_.isEmpty()) {
            deepLinks_.clear();
            Q_EMIT openCountChanged();
        }
    });
    bus_.connect(service, path, interface, QStringLiteral("ActionInvoked"), this,
                 SLOT(onActionInvoked(uint, QString)));
    bus_.connect(service, path, interface, QStringLiteral("NotificationClosed"), this,
                 SLOT(onNotificationClosed(uint, uint)));
}

void DesktopNotifications::show(const NotificationRequest& request, quint64 serial) {
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("sound-name"), request.soundName},
                            {QStringLiteral("desktop-entry"), desktopEntry}};
    call << QStringLiteral("Orbelo") << uint(0) << desktopEntry << request.title << request.body
         << QStringList{QStringLiteral("default"), QStringLiteral("Open")} << hints << qint32(-1);
    auto* pending = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this,
            [this, id = request.id, link = request.deepLink(), serial](QDBusPendingCallWatcher* watcher) {
                watcher->deleteLater();
                const QDBusPendingReply<uint> reply = *watcher;
                if (reply.isError()) {
                    qCWarning(lcNotifier, "could not show %s, keeping it for later: %s", qUtf8Printable(id),
                              qUtf8Printable(reply.error().message()));
                    Q_EMIT failed(id, serial);
                    return;
                }
                deepLinks_.insert(reply.value(), link);
                Q_EMIT openCountChanged();
                Q_EMIT shown(id, serial);
            });
}

void DesktopNotifications::onActionInvoked(uint notificationId, const QString& actionKey) {
    const auto it = deepLinks_.constFind(notificationId);
    if (it == deepLinks_.cend() || actionKey != QLatin1String("default"))
        return; // another application's notification, or an action we did not offer
    Q_EMIT activated(*it);
}

void DesktopNotifications::onNotificationClosed(uint notificationId, uint) {
    if (deepLinks_.remove(notificationId))
        Q_EMIT openCountChanged();
}
