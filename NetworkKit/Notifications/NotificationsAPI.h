#pragma once

#include "APIClient.h"
#include "DeviceRegistrationRequest.h"
#include "DeviceRegistrationResponse.h"
#include "MarkAllReadResponse.h"
#include "MarkReadResponse.h"
#include "NotificationsResponse.h"
#include "UnreadCountResponse.h"

// The notifications inbox and the registration of this device for pushes.
class NotificationsAPI {
public:
    explicit NotificationsAPI(APIClient client) : client_(std::move(client)) {}

    async::Task<NotificationsResponse> notifications(int limit) const;
    async::Task<UnreadCountResponse> unreadCount() const;
    async::Task<MarkReadResponse> markRead(const QString& notificationId) const;
    async::Task<MarkAllReadResponse> markAllRead() const;
    async::Task<DeviceRegistrationResponse> registerDevice(const DeviceRegistrationRequest& request) const;

private:
    APIClient client_;
};
