#include "Notifications/PushedNotificationOpener.h"

#include "Auth/AuthSession.h"
#include "Common/AppContext.h"
#include "NotificationManager.h"
#include "Notifications/NotificationOpening.h"
#include "Notifications/NotificationsAPI.h"
#include "Notifications/NotificationsBadge.h"
#include "Shell/NotificationRouting.h"

#include <QTimer>

PushedNotificationOpener::PushedNotificationOpener(QObject* parent)
    : PushedNotificationOpener(AuthSession::makeAPIClient(), &NotificationsBadge::shared(), parent) {}

PushedNotificationOpener::PushedNotificationOpener(APIClient client, NotificationsBadge* badge,
                                                   QObject* parent)
    : QObject(parent), client_(std::move(client)), badge_(badge) {
    // After the constructor: the shell's tab bindings are in place when the routing arrives.
    QTimer::singleShot(0, this, [this] { openLink(NotificationManager::shared().pendingDeepLink()); });
}

PushedNotificationOpener::~PushedNotificationOpener() = default;

void PushedNotificationOpener::setContext(AppContext* context) {
    if (!AppContext::switchTo(context_, context, this))
        return;
    if (context)
        connect(context, &AppContext::studyReminderTapped, this, &PushedNotificationOpener::openLink);
    Q_EMIT contextChanged();
}

void PushedNotificationOpener::openLink(const QVariant& link) {
    const QString id = NotificationOpening::pushedNotificationId(link);
    if (id.isEmpty())
        return;
    NotificationManager& manager = NotificationManager::shared();
    if (manager.pendingDeepLink() == link.toString())
        manager.takePendingDeepLink();
    tasks_.cancel(opening_);
    opening_ = tasks_.spawn(open(this, id));
}

async::Task<void> PushedNotificationOpener::open(PushedNotificationOpener* self, QString notificationId) {
    const NotificationsAPI api(self->client_);
    std::optional<AppNotification> found;
    try {
        const NotificationsResponse answer = co_await api.notifications(searchDepth);
        for (const AppNotification& notification : answer.notifications)
            if (notification.id == notificationId)
                found = notification;
    } catch (...) {
        // Routed to Study below, like a notification that is gone.
    }
    if (!found) {
        self->route(NotificationDestination::study());
        co_return;
    }
    if (co_await NotificationOpening::markReadIfUnread(api, *found) && self->badge_)
        self->badge_->refresh(true);
    self->route(NotificationRouting::destination(*found));
}

void PushedNotificationOpener::route(const NotificationDestination& destination) {
    if (context_)
        NotificationRouting::post(*context_, destination);
}
