#pragma once

#include "Notifications/AppNotification.h"
#include "Notifications/NotificationsAPI.h"
#include "Shell/NotificationRouting.h"

// Opening a notification, from the inbox or from a click on a pushed one.
namespace NotificationOpening {

// The deep link a pushed notification carries: this prefix and the notification's id.
inline const QString pushedLinkPrefix = QStringLiteral("notification:");

// The notification id in a pushed notification's deep link; empty for anything else.
QString pushedNotificationId(const QVariant& link);

// Marks `notification` read when it is unread: true when it was marked now. A failed mark leaves
// it unread (false); the notification opens all the same.
async::Task<bool> markReadIfUnread(NotificationsAPI api, AppNotification notification);

} // namespace NotificationOpening
