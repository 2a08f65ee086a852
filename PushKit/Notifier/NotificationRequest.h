#pragma once

#include "DailyTrigger.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QVariantMap>

#include <optional>

// One pending notification: what to show and when. A daily request repeats at a wall-clock time;
// a one-off request fires once at `fireTime` and is then gone.
struct NotificationRequest {
    QString id;
    QString title;
    QString body;
    QString soundName; // a freedesktop sound theme name
    static inline const QString defaultSound = QStringLiteral("message-new-instant");
    // Free-form data the app attached; a "deepLink" text in it is what a click opens.
    QVariantMap userInfo;
    std::optional<DailyTrigger> daily;
    QDateTime fireTime; // one-off requests
    // When it fires next (a daily request's is worked out from its hour and minute).
    QDateTime due;
    // It came due while no notification server took it; shown as soon as one does.
    bool undelivered = false;

    QString deepLink() const { return userInfo.value(QStringLiteral("deepLink")).toString(); }

    // The request as the D-Bus interface lists it: the trigger as the map Add takes, plus "id",
    // "title", "body", "soundName", "userInfo" and "nextFireTime" (milliseconds since the epoch).
    QVariantMap toVariantMap() const;
    QVariantMap triggerMap() const;

    // A request from the arguments of the D-Bus Add call, or empty with `error` saying what is
    // wrong with them. A one-off request whose time has passed fires at once.
    static std::optional<NotificationRequest> fromCall(const QString& id, const QString& title,
                                                       const QString& body, const QString& soundName,
                                                       const QVariantMap& userInfo,
                                                       const QVariantMap& trigger, QString* error);

    QJsonObject toJson() const;
    // Empty when the object does not describe a request.
    static std::optional<NotificationRequest> fromJson(const QJsonObject& object);
};
