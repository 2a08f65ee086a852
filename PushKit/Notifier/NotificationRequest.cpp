#include "NotificationRequest.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr qsizetype maxIdLength = 200;
constexpr qsizetype maxTextLength = 4000;

bool hasControlCharacters(const QString& text) {
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.category() == QChar::Other_Control; });
}

// An integer field of the trigger map: D-Bus callers send any integer type, or a double from
// languages without integers.
std::optional<qint64> integerField(const QVariantMap& map, const QString& key) {
    const QVariant value = map.value(key);
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok || value.typeId() == QMetaType::QString || value.typeId() == QMetaType::Bool ||
        number != std::floor(number))
        return std::nullopt;
    return qint64(number);
}

} // namespace

std::optional<NotificationRequest> NotificationRequest::fromCall(const QString& id, const QString& title,
                                                                 const QString& body,
                                                                 const QString& soundName,
                                                                 const QVariantMap& userInfo,
                                                                 const QVariantMap& trigger, QString* error) {
    const auto refuse = [error](const QString& why) {
        *error = why;
        return std::nullopt;
    };
    if (id.isEmpty() || id.size() > maxIdLength || hasControlCharacters(id))
        return refuse(QStringLiteral("id must be 1 to %1 printable characters").arg(maxIdLength));
    if (title.size() > maxTextLength || body.size() > maxTextLength)
        return refuse(QStringLiteral("title and body must be at most %1 characters").arg(maxTextLength));
    if (soundName.size() > maxIdLength || hasControlCharacters(soundName))
        return refuse(QStringLiteral("soundName must be a sound theme name"));

    NotificationRequest request;
    request.id = id;
    request.title = title;
    request.body = body;
    request.soundName =
        soundName.isEmpty() || soundName == QLatin1String("default") ? defaultSound : soundName;
    request.userInfo = userInfo;
    const QString type = trigger.value(QStringLiteral("type")).toString();
    if (type == QLatin1String("daily")) {
        const std::optional<qint64> hour = integerField(trigger, QStringLiteral("hour"));
        const std::optional<qint64> minute = integerField(trigger, QStringLiteral("minute"));
        if (!hour || *hour < 0 || *hour > 23)
            return refuse(QStringLiteral("a daily trigger needs an integer hour from 0 to 23"));
        if (!minute || *minute < 0 || *minute > 59)
            return refuse(QStringLiteral("a daily trigger needs an integer minute from 0 to 59"));
        request.daily = DailyTrigger{int(*hour), int(*minute)};
    } else if (type == QLatin1String("interval")) {
        const std::optional<qint64> fireTime = integerField(trigger, QStringLiteral("fireTime"));
        if (!fireTime)
            return refuse(QStringLiteral("an interval trigger needs fireTime, milliseconds since the epoch"));
        request.fireTime = QDateTime::fromMSecsSinceEpoch(*fireTime, QTimeZone::utc());
    } else {
        return refuse(QStringLiteral("trigger type must be \"daily\" or \"interval\", not \"%1\"").arg(type));
    }
    return request;
}

QVariantMap NotificationRequest::triggerMap() const {
    if (daily)
        return {{QStringLiteral("type"), QStringLiteral("daily")},
                {QStringLiteral("hour"), daily->hour},
                {QStringLiteral("minute"), daily->minute}};
    return {{QStringLiteral("type"), QStringLiteral("interval")},
            {QStringLiteral("fireTime"), fireTime.toMSecsSinceEpoch()}};
}

QVariantMap NotificationRequest::toVariantMap() const {
    return {{QStringLiteral("id"), id},
            {QStringLiteral("title"), title},
            {QStringLiteral("body"), body},
            {QStringLiteral("soundName"), soundName},
            {QStringLiteral("userInfo"), userInfo},
            {QStringLiteral("trigger"), triggerMap()},
            {QStringLiteral("nextFireTime"), due.toMSecsSinceEpoch()}};
}

QJsonObject NotificationRequest::toJson() const {
    QJsonObject object{{QStringLiteral("id"), id},
                       {QStringLiteral("title"), title},
                       {QStringLiteral("body"), body},
                       {QStringLiteral("soundName"), soundName},
                       {QStringLiteral("userInfo"), QJsonObject::fromVariantMap(userInfo)},
                       {QStringLiteral("trigger"), QJsonObject::fromVariantMap(triggerMap())},
                       {QStringLiteral("due"), due.toMSecsSinceEpoch()}};
    if (undelivered)
        object.insert(QStringLiteral("undelivered"), true);
    return object;
}

std::optional<NotificationRequest> NotificationRequest::fromJson(const QJsonObject& object) {
    NotificationRequest request;
    request.id = object.value(QStringLiteral("id")).toString();
    request.title = object.value(QStringLiteral("title")).toString();
    request.body = object.value(QStringLiteral("body")).toString();
    request.soundName = object.value(QStringLiteral("soundName")).toString();
    request.userInfo = object.value(QStringLiteral("userInfo")).toObject().toVariantMap();
    request.undelivered = object.value(QStringLiteral("undelivered")).toBool();
    const QJsonObject trigger = object.value(QStringLiteral("trigger")).toObject();
    const QString type = trigger.value(QStringLiteral("type")).toString();
    if (type == QLatin1String("daily")) {
        const int hour = trigger.value(QStringLiteral("hour")).toInt(-1);
        const int minute = trigger.value(QStringLiteral("minute")).toInt(-1);
        if (hour < 0 || hour > 23 || minute < 0 || minute > 59)
            return std::nullopt;
        request.daily = DailyTrigger{hour, minute};
    } else if (type == QLatin1String("interval")) {
        const QJsonValue fireTime = trigger.value(QStringLiteral("fireTime"));
        if (!fireTime.isDouble())
            return std::nullopt;
        request.fireTime = QDateTime::fromMSecsSinceEpoch(qint64(fireTime.toDouble()), QTimeZone::utc());
    } else {
        return std::nullopt;
    }
    const QJsonValue due = object.value(QStringLiteral("due"));
    if (request.id.isEmpty() || !due.isDouble())
        return std::nullopt;
    request.due = QDateTime::fromMSecsSinceEpoch(qint64(due.toDouble()), QTimeZone::utc());
    return request;
}
