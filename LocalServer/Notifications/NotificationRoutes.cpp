#include "Notifications/NotificationRoutes.h"

#include "Http/QueryLimit.h"
#include "Notifications/DeviceStore.h"
#include "Notifications/NotificationStore.h"
#include "Notifications/PracticeNudge.h"
#include "ServerContext.h"

namespace {

constexpr int defaultLimit = 50;
constexpr int maxLimit = 200;
constexpr int maxAppVersionLength = 64;

} // namespace

ServerResponse NotificationRoutes::list(const ServerRequest& request, const QString& userId) {
    const std::optional<int> limit = QueryLimit::read(request, defaultLimit, maxLimit);
    if (!limit)
        return ServerResponse::apiError(422, QueryLimit::message);
    PracticeNudge(context_).postIfDue(userId);
    return ServerResponse::json(NotificationStore(context_).list(userId, *limit));
}

ServerResponse NotificationRoutes::unreadCount(const QString& userId) {
    PracticeNudge(context_).postIfDue(userId);
    return ServerResponse::json(QJsonObject{{"count", NotificationStore(context_).unreadCount(userId)}});
}

ServerResponse NotificationRoutes::markRead(const ServerRequest& request, const QString& userId) {
    if (!NotificationStore(context_).markRead(userId, request.param(0), context_.nowMs()))
        return ServerResponse::apiError(404, "No such notification.");
    return ServerResponse::json(QJsonObject{{"message", "Notification marked as read."}});
}

ServerResponse NotificationRoutes::markAllRead(const QString& userId) {
    const int count = NotificationStore(context_).markAllRead(userId, context_.nowMs());
    if (count < 0)
        return ServerResponse::apiError(500, "The notifications could not be marked as read.");
    return ServerResponse::json(
        QJsonObject{{"message", count == 1 ? QStringLiteral("1 notification marked as read.")
                                           : QStringLiteral("%1 notifications marked as read.").arg(count)},
                    {"count", count}});
}

ServerResponse NotificationRoutes::registerDevice(const ServerRequest& request, const QString& userId) {
    const QJsonObject body = request.jsonBody();
    DeviceStore::Registration device;
    device.deviceToken = body.value("device_token").toString();
    if (!DeviceStore::isToken(device.deviceToken))
        return ServerResponse::apiError(422, "device_token must be 64 lower-case hexadecimal characters.");
    device.platform = body.value("platform").toString();
    if (device.platform != QLatin1String("linux") && device.platform != QLatin1String("ios"))
        return ServerResponse::apiError(422, "platform must be linux or ios.");
    const QJsonValue version = body.value("app_version");
    if (!version.isUndefined() && !version.isNull() &&
        (!version.isString() || version.toString().size() > maxAppVersionLength))
        return ServerResponse::apiError(
            422,
            QStringLiteral("app_version must be text of at most %1 characters.").arg(maxAppVersionLength));
    device.appVersion = version.toString();
    if (!DeviceStore(context_).registerDevice(userId, auth_.sessionId(request), device, context_.nowMs()))
        return ServerResponse::apiError(500, "The device could not be registered.");
    return ServerResponse::json(QJsonObject{{"success", true}, {"message", "Device registered."}});
}
