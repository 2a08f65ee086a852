#include "PrivateSessionBus.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QFile>
#include <QSignalSpy>

namespace {

const QString notifications = QStringLiteral("org.freedesktop.Notifications");
const QString notificationsPath = QStringLiteral("/org/freedesktop/Notifications");
const QString mockInterface = QStringLiteral("org.freedesktop.DBus.Mock");

QDBusMessage mockCall(const QString& method) {
    return QDBusMessage::createMethodCall(notifications, notificationsPath, mockInterface, method);
}

} // namespace

PrivateSessionBus::PrivateSessionBus(const QString& servicesDir) {
    QStringList arguments{QStringLiteral("--nofork"), QStringLiteral("--print-address=1")};
    if (servicesDir.isEmpty()) {
        arguments << QStringLiteral("--session");
    } else {
        const QString config = dir_.filePath(QStringLiteral("bus.conf"));
        QFile file(config);
        if (file.open(QIODevice::WriteOnly))
            file.write(QStringLiteral("<busconfig><include>/usr/share/dbus-1/session.conf</include>"
                                      "<servicedir>%1</servicedir></busconfig>")
                           .arg(servicesDir)
                           .toUtf8());
        arguments << QStringLiteral("--config-file=") + config;
    }
    daemon_.start(QStringLiteral("dbus-daemon"), arguments);
    if (daemon_.waitForReadyRead(10000))
        address_ = QString::fromUtf8(daemon_.readLine().trimmed());
}

PrivateSessionBus::~PrivateSessionBus() {
    for (QProcess* process : {&server_, &daemon_}) {
        process->terminate();
        process->waitForFinished(5000);
    }
    for (const QString& name : std::as_const(names_))
        QDBusConnection::disconnectFromBus(name);
}

QDBusConnection PrivateSessionBus::connect(const QString& name) const {
    // Connection names are global to the process: each bus keeps its own.
    const QString unique = address_ + QLatin1Char('/') + name;
    if (!names_.contains(unique))
        names_.append(unique);
    return QDBusConnection::connectToBus(address_, unique);
}

QDBusConnection PrivateSessionBus::control() const {
    return connect(QStringLiteral("control"));
}

QProcessEnvironment PrivateSessionBus::environment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address_);
    return environment;
}

bool PrivateSessionBus::startNotificationServer() {
    QDBusServiceWatcher watcher(notifications, control(), QDBusServiceWatcher::WatchForRegistration);
    QSignalSpy registered(&watcher, &QDBusServiceWatcher::serviceRegistered);
    server_.setProcessEnvironment(environment());
    server_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // Debian's python3, where python3-dbusmock is installed, whatever else is on PATH.
    server_.start(QStringLiteral("/usr/bin/python3"),
                  {QStringLiteral("-m"), QStringLiteral("dbusmock"), QStringLiteral("--template"),
                   QStringLiteral("notification_daemon")});
    return control().interface()->isServiceRegistered(notifications) || registered.wait(20000);
}

void PrivateSessionBus::stopNotificationServer() {
    server_.terminate();
    server_.waitForFinished(10000);
}

QList<QVariantList> PrivateSessionBus::notifyCalls() const {
    const QDBusMessage reply =
        control().call(mockCall(QStringLiteral("GetMethodCalls")) << QStringLiteral("Notify"));
    QList<QVariantList> calls;
    if (reply.type() != QDBusMessage::ReplyMessage)
        return calls;
    const QDBusArgument list = reply.arguments().value(0).value<QDBusArgument>();
    list.beginArray();
    while (!list.atEnd()) {
        quint64 timestamp = 0;
        QVariantList arguments;
        list.beginStructure();
        list >> timestamp >> arguments;
        list.endStructure();
        calls.append(arguments);
    }
    list.endArray();
    return calls;
}

void PrivateSessionBus::invokeAction(uint notificationId, const QString& key) const {
    control().call(mockCall(QStringLiteral("EmitSignal"))
                   << notifications << QStringLiteral("ActionInvoked") << QStringLiteral("us")
                   << QVariantList{notificationId, key});
}

void PrivateSessionBus::closeNotification(uint notificationId) const {
    control().call(QDBusMessage::createMethodCall(notifications, notificationsPath, notifications,
                                                  QStringLiteral("CloseNotification"))
                   << notificationId);
}
