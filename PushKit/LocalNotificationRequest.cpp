#include "LocalNotificationRequest.h"

#include <QDBusArgument>

namespace {

// A map inside a D-Bus variant arrives still marshalled.
QVariantMap nestedMap(const QVariant& value) {
    if (value.canConvert<QDBusArgument>())
        return qdbus_cast<QVariantMap>(value);
    return value.toMap();
}

} // namespace

QVariantMap LocalNotificationRequest::trigger() const {
    if (dailyTime)
        return {{QStringLiteral("type"), QStringLiteral("daily")},
                {QStringLiteral("hour"), dailyTime->hour()},
                {QStringLiteral("minute"), dailyTime->minute()}};
    return {{QStringLiteral("type"), QStringLiteral("interval")},
            {QStringLiteral("fireTime"), fireDate.toMSecsSinceEpoch()}};
}

std::optional<LocalNotificationRequest> LocalNotificationRequest::fromAgent(const QVariantMap& pending) {
    LocalNotificationRequest request;
    request.identifier = pending.value(QStringLiteral("id")).toString();
    request.title = pending.value(QStringLiteral("title")).toString();
    request.body = pending.value(QStringLiteral("body")).toString();
    request.soundName = pending.value(QStringLiteral("soundName")).toString();
    request.userInfo = nestedMap(pending.value(QStringLiteral("userInfo")));
    request.nextFireDate =
        QDateTime::fromMSecsSinceEpoch(pending.value(QStringLiteral("nextFireTime")).toLongLong(), Qt::UTC);
    const QVariantMap trigger = nestedMap(pending.value(QStringLiteral("trigger")));
    const QString type = trigger.value(QStringLiteral("type")).toString();
    if (type == QStringLiteral("daily"))
        request.dailyTime = StudyReminderPreferences::Time(trigger.value(QStringLiteral("hour")).toInt(),
                                                           trigger.value(QStringLiteral("minute")).toInt());
    else if (type == QStringLiteral("interval"))
        request.fireDate =
            QDateTime::fromMSecsSinceEpoch(trigger.value(QStringLiteral("fireTime")).toLongLong(), Qt::UTC);
    else
        return std::nullopt;
    return request;
}
