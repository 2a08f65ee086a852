#pragma once

#include "Auth/ApiAuth.h"
#include "Http/ServerRequest.h"
#include "Http/ServerResponse.h"

struct ServerContext;

// The notifications inbox under /api/notifications and push-device registration under
// /api/mobile/devices. Reading the inbox (list or unread count) first makes the day's practice
// nudge when it is due.
class NotificationRoutes {
public:
    explicit NotificationRoutes(ServerContext& context) : context_(context), auth_(context) {}

private:
    friend class Routes; // calls the handlers

    ServerResponse list(const ServerRequest& request, const QString& userId);
    ServerResponse unreadCount(const QString& userId);
    ServerResponse markRead(const ServerRequest& request, const QString& userId);
    ServerResponse markAllRead(const QString& userId);
    ServerResponse registerDevice(const ServerRequest& request, const QString& userId);

    ServerContext& context_;
    ApiAuth auth_;
};
