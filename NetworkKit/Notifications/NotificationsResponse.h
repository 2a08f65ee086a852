#pragma once

#include "AppNotification.h"
#include "JsonRecord.h"

struct NotificationsResponse {
    QList<AppNotification> notifications;
    int total = 0;
    int unread = 0;
    JSON_RECORD(NotificationsResponse, notifications, total, unread)
};
