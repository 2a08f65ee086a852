#include "Notifications/NotificationOpening.h"

namespace NotificationOpening {

QString pushedNotificationId(const QVariant& link) {
    if (link.typeId() != QMetaType::QString)
        return {};
    const QString text = link.toString();
    return text.startsWith(pushedLinkPrefix) ? text.mid(pushedLinkPrefix.size()).trimmed() : QString();
}

async::Task<bool> markReadIfUnread(NotificationsAPI api, AppNotification notification) {
    if (notification.isRead)
        co_return false;
    try {
        co_await api.markRead(notification.id);
    } catch (...) {
        co_return false;
    }
    co_return true;
}

} // namespace NotificationOpening
