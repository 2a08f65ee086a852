#include "Push/PushStreamRoute.h"

#include "Notifications/DeviceStore.h"
#include "Notifications/NotificationStore.h"
#include "Push/PushStreams.h"
#include "ServerContext.h"

#include <optional>

ServerResponse PushStreamRoute::open(const ServerRequest& request) {
    if (!request.upgrade) {
        ServerResponse refused = ServerResponse::apiError(426, "This is a WebSocket; ask for an upgrade.");
        refused.setHeader("Upgrade", "websocket");
        return refused;
    }
    const QByteArray authorization = request.header("authorization");
    const QString token =
        authorization.startsWith("Device ") ? QString::fromLatin1(authorization.mid(7).trimmed()) : QString();
    if (!DeviceStore::isToken(token))
        return ServerResponse::apiError(401, "Send the device token as Authorization: Device <token>.");
    const std::optional<DeviceStore::Device> device = DeviceStore(context_).find(token, context_.nowMs());
    if (!device)
        return ServerResponse::apiError(401, "This device is not registered to a signed-in user.");
    if (!streams_.hasRoomFor(device->userId, device->deviceToken)) {
        ServerResponse refused =
            ServerResponse::apiError(429, "This account has too many push streams open.");
        refused.setHeader("Retry-After", "30");
        return refused;
    }

    qint64 afterSeq = 0;
    if (request.query.hasQueryItem("after")) {
        bool ok = false;
        afterSeq = request.query.queryItemValue("after").toLongLong(&ok);
        if (!ok || afterSeq < 0)
            return ServerResponse::apiError(422, "after must be a whole number of 0 or more.");
    } else {
        // Without `after` the stream starts at what the user has as the request is answered: the
        // stream is listed only after the upgrade, and what is made in between is owed to it.
        afterSeq = NotificationStore(context_).latestSeq(device->userId);
    }
    return ServerResponse::webSocket(
        [this, device = *device, afterSeq](std::shared_ptr<WebSocketConnection> connection) {
            streams_.open(std::move(connection), device, afterSeq);
        });
}
