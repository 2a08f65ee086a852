#pragma once

#include "APIClient.h"
#include "NotificationRouting.h"
#include "Notifications/AppNotification.h"
#include "Notifications/NotificationsAPI.h"

// Opening a notification, from the inbox or from a click on a pushed one.
namespace NotificationOpening {

// The deep link a pushed notification carries: this prefix and the notification's id.
inline const QString pushedLinkPrefix = QStringLiteral("notification:");

// The notification id in a pushed notification's deep link; empty for anything else.
QString pushedNotificationId(const QVariant& link);

// Marks `notification` read when it is unread: true when it was marked now. A failed mark leaves
// it unread (false); the notification opens all the same.
async::Task<bool> markReadIfUnread(NotificationsAPI api, AppNotification notification);

// Where `notification` leads: its routing destination, except that a quiz for a course the student
// no longer has leads to Study. Asks for the courses only for a quiz; if they can't be loaded the
// quiz destination stands (the quiz set-up then picks a course itself).
async::Task<NotificationRouting::Destination> destination(APIClient client, AppNotification notification);

} // namespace NotificationOpening
