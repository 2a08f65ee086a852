#include "Notifications/NotificationsBadge.h"

#include "Auth/AuthSession.h"
#include "Clock.h"

#include <QJSEngine>

NotificationsBadge::NotificationsBadge(APIClient client, QObject* parent)
    : QObject(parent), api_(std::move(client)) {}

NotificationsBadge& NotificationsBadge::shared() {
    static NotificationsBadge* instance =
        new NotificationsBadge(AuthSession::makeAPIClient()); // lives as long as the process
    return *instance;
}

NotificationsBadge* NotificationsBadge::create(QQmlEngine*, QJSEngine*) {
    NotificationsBadge* instance = &shared();
    QJSEngine::setObjectOwnership(instance, QJSEngine::CppOwnership);
    return instance;
}

void NotificationsBadge::refresh(bool force) {
    if (isRefreshing_)
        return;
    const QDateTime now = async::Clock::current().now();
    if (!force && lastRefresh_.isValid() &&
        lastRefresh_.msecsTo(now) < std::chrono::milliseconds(freshnessWindow).count())
        return;
    setRefreshing(true);
    // A failure is silent: the count and the time of the last refresh stay as they were.
    tasks_.spawn(fetch(this),
                 async::TaskScope::ErrorHandler([this](std::exception_ptr) { setRefreshing(false); }));
}

async::Task<void> NotificationsBadge::fetch(NotificationsBadge* self) {
    const UnreadCountResponse response = co_await self->api_.unreadCount();
    self->lastRefresh_ = async::Clock::current().now();
    if (response.count != self->unreadCount_) {
        self->unreadCount_ = response.count;
        Q_EMIT self->unreadCountChanged();
    }
    self->setRefreshing(false);
}

void NotificationsBadge::setRefreshing(bool refreshing) {
    if (refreshing == isRefreshing_)
        return;
    isRefreshing_ = refreshing;
    Q_EMIT isRefreshingChanged();
}
