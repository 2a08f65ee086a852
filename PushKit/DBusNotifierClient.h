#pragma once

#include "NotifierClient.h"

#include <QDBusConnection>

// The agent over the session bus (com.orbelo.desktop.Notifier, PushKit/README.md). The first
// call starts it through D-Bus activation when it is not running.
class DBusNotifierClient final : public NotifierClient {
public:
    static inline const QString serviceName = QStringLiteral("com.orbelo.desktop.Notifier");
    static inline const QString objectPath = QStringLiteral("/com/orbelo/desktop/Notifier");
    static inline const QString interfaceName = QStringLiteral("com.orbelo.desktop.Notifier");

    explicit DBusNotifierClient(QDBusConnection bus) : bus_(std::move(bus)) {}

    async::Task<void> add(LocalNotificationRequest request) override;
    async::Task<uint> removeByPrefix(QString prefix) override;
    async::Task<QList<LocalNotificationRequest>> listPending() override;
    async::Task<QString> deviceToken() override;
    async::Task<void> startPush(QString origin, QString certificatePem) override;
    async::Task<void> stopPush() override;

private:
    QDBusPendingCall send(const QString& method, const QVariantList& arguments) const;

    QDBusConnection bus_;
};
