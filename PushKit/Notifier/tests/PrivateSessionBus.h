#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QTemporaryDir>

// A D-Bus session bus of the test's own (dbus-daemon), ended with it, plus python3-dbusmock's
// notification server on it when asked for. A bus started with a services folder activates the
// services described there.
class PrivateSessionBus {
public:
    explicit PrivateSessionBus(const QString& servicesDir = {});
    ~PrivateSessionBus();
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    const QString& address() const { return address_; }
    // This process's connection to the bus called `name` (made on first use, closed with the bus).
    QDBusConnection connect(const QString& name) const;
    // The environment of a process that should talk on this bus.
    QProcessEnvironment environment() const;

    // Starts the mock notification server and waits until it owns its name.
    bool startNotificationServer();
    void stopNotificationServer();
    // The arguments of every Notify call the mock server took, oldest first.
    QList<QVariantList> notifyCalls() const;
    // Has the mock server emit ActionInvoked (`key` "default" is a click on the notification).
    void invokeAction(uint notificationId, const QString& key) const;
    void closeNotification(uint notificationId) const;

private:
    QDBusConnection control() const;

    QTemporaryDir dir_;
    QProcess daemon_;
    QProcess server_;
    QString address_;
    mutable QStringList names_;
};
