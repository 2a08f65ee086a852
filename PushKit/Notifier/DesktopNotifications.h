#pragma once

#include "NotificationRequest.h"

#include <QDBusConnection>
#include <QHash>
#include <QObject>

// The desktop's notification server (org.freedesktop.Notifications) as the agent uses it: shows a
// request with an "Open" default action, remembers which shown notification carries which deep
// link, and reports a click on one. Notices when a server appears on the bus; when it goes, its
// notifications go with it.
class DesktopNotifications : public QObject {
    Q_OBJECT
public:
    static inline const QString service = QStringLiteral("org.freedesktop.Notifications");

    explicit DesktopNotifications(QDBusConnection bus, QObject* parent = nullptr);

    // Asks the server to show `request`; answers with shown or failed, carrying `serial` back.
    void show(const NotificationRequest& request, quint64 serial);
    // Notifications on screen that a click could still open.
    int openCount() const { return int(deepLinks_.size()); }

Q_SIGNALS:
    void shown(const QString& id, quint64 serial);
    void failed(const QString& id, quint64 serial);
    // The user clicked a shown notification; `deepLink` is empty when it carried none.
    void activated(const QString& deepLink);
    void openCountChanged();
    void serverAppeared();

private Q_SLOTS:
    void onActionInvoked(uint notificationId, const QString& actionKey);
    void onNotificationClosed(uint notificationId, uint reason);

private:
    QDBusConnection bus_;
    QHash<uint, QString> deepLinks_;
};
