#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "Notifications/NotificationsAPI.h"
#include "TaskScope.h"

#include <QDateTime>
#include <QtQml/qqmlregistration.h>

#include <chrono>

class QJSEngine;
class QQmlEngine;

// The unread count on the account menu. One per process; refreshed at most once per freshness
// window unless forced, and never twice at the same time. Failures leave the count as it was.
class NotificationsBadge : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(int unreadCount READ unreadCount NOTIFY unreadCountChanged)
    Q_PROPERTY(bool isRefreshing READ isRefreshing NOTIFY isRefreshingChanged)
public:
    static constexpr std::chrono::seconds freshnessWindow{30};

    explicit NotificationsBadge(APIClient client, QObject* parent = nullptr);

    // The process's badge, on the app's backend client.
    static NotificationsBadge& shared();
    static NotificationsBadge* create(QQmlEngine*, QJSEngine*);

    int unreadCount() const { return unreadCount_; }
    bool isRefreshing() const { return isRefreshing_; }
    // When the count was last fetched; null before the first success.
    QDateTime lastRefresh() const { return lastRefresh_; }

    // Fetches the count unless a fetch is running, or, when not forced, the last one is fresh.
    Q_INVOKABLE void refresh(bool force = false);

Q_SIGNALS:
    void unreadCountChanged();
    void isRefreshingChanged();

private:
    static async::Task<void> fetch(NotificationsBadge* self);
    void setRefreshing(bool refreshing);

    NotificationsAPI api_;
    int unreadCount_ = 0;
    bool isRefreshing_ = false;
    QDateTime lastRefresh_;
    async::TaskScope tasks_; // last: tasks end before what they use
};
