#include "DBusNotifierClient.h"

#include "DBusCallAwaiter.h"
#include "NotificationError.h"

#include <QDBusArgument>
#include <QDBusError>

namespace {

// The reply, or the error it carries as a NotificationError.
async::Task<QDBusMessage> answer(QDBusPendingCall call) {
    QDBusMessage reply = co_await DBusCallAwaiter(std::move(call));
    if (reply.type() != QDBusMessage::ErrorMessage)
        co_return reply;
    // The agent's own errors explain themselves; anything else means it could not be reached.
    if (reply.errorName().startsWith(DBusNotifierClient::interfaceName + QStringLiteral(".Error.")))
        throw NotificationError(NotificationError::Kind::refused, reply.errorMessage());
    throw NotificationError(
        NotificationError::Kind::agentUnavailable,
        QStringLiteral("Orbelo's notification service (orbelo-notifier) is not available: ") +
            reply.errorMessage());
}

async::Task<void> expectNothing(QDBusPendingCall call) {
    co_await answer(std::move(call));
}

async::Task<uint> expectCount(QDBusPendingCall call) {
    const QDBusMessage reply = co_await answer(std::move(call));
    co_return reply.arguments().value(0).toUInt();
}

async::Task<QString> expectText(QDBusPendingCall call) {
    const QDBusMessage reply = co_await answer(std::move(call));
    co_return reply.arguments().value(0).toString();
}

async::Task<QList<LocalNotificationRequest>> expectRequests(QDBusPendingCall call) {
    const QDBusMessage reply = co_await answer(std::move(call));
    QList<QVariantMap> maps;
    reply.arguments().value(0).value<QDBusArgument>() >> maps;
    QList<LocalNotificationRequest> requests;
    for (const QVariantMap& map : std::as_const(maps))
        if (std::optional<LocalNotificationRequest> request = LocalNotificationRequest::fromAgent(map))
            requests.append(std::move(*request));
    co_return requests;
}

} // namespace

QDBusPendingCall DBusNotifierClient::send(const QString& method, const QVariantList& arguments) const {
    QDBusMessage message = QDBusMessage::createMethodCall(serviceName, objectPath, interfaceName, method);
    message.setArguments(arguments);
    return bus_.asyncCall(message);
}

async::Task<void> DBusNotifierClient::add(LocalNotificationRequest request) {
    return expectNothing(
        send(QStringLiteral("Add"), {request.identifier, request.title, request.body, request.soundName,
                                     request.userInfo, request.trigger()}));
}

async::Task<uint> DBusNotifierClient::removeByPrefix(QString prefix) {
    return expectCount(send(QStringLiteral("RemoveByPrefix"), {prefix}));
}

async::Task<QList<LocalNotificationRequest>> DBusNotifierClient::listPending() {
    return expectRequests(send(QStringLiteral("ListPending"), {}));
}

async::Task<QString> DBusNotifierClient::deviceToken() {
    return expectText(send(QStringLiteral("DeviceToken"), {}));
}

async::Task<void> DBusNotifierClient::startPush(QString origin, QString certificatePem) {
    return expectNothing(send(QStringLiteral("StartPush"), {origin, certificatePem}));
}

async::Task<void> DBusNotifierClient::stopPush() {
    return expectNothing(send(QStringLiteral("StopPush"), {}));
}
