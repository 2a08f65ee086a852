#include "NotificationsAPI.h"

#include "EmptyRequestBody.h"

async::Task<NotificationsResponse> NotificationsAPI::notifications(int limit) const {
    return client_.get<NotificationsResponse>(QStringLiteral("/api/notifications?limit=") +
                                              QString::number(limit));
}

async::Task<UnreadCountResponse> NotificationsAPI::unreadCount() const {
    return client_.get<UnreadCountResponse>(QStringLiteral("/api/notifications/unread-count"));
}

async::Task<MarkReadResponse> NotificationsAPI::markRead(const QString& notificationId) const {
    return client_.patch<MarkReadResponse>(
        QStringLiteral("/api/notifications/") + notificationId + QStringLiteral("/read"), EmptyRequestBody{});
}

async::Task<MarkAllReadResponse> NotificationsAPI::markAllRead() const {
    return client_.patch<MarkAllReadResponse>(QStringLiteral("/api/notifications/read-all"),
                                              EmptyRequestBody{});
}

async::Task<DeviceRegistrationResponse>
NotificationsAPI::registerDevice(const DeviceRegistrationRequest& request) const {
    return client_.post<DeviceRegistrationResponse>(QStringLiteral("/api/mobile/devices/register"), request);
}
