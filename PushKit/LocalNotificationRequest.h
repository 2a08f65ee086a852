#pragma once

#include "StudyReminderPreferences.h"

#include <QDateTime>
#include <QVariantMap>

// One notification for the agent to show later: its content, and when — every day at a time of
// day on the local wall clock, or once at an instant.
struct LocalNotificationRequest {
    QString identifier;
    QString title;
    QString body;
    // A freedesktop sound theme name; "default" is the desktop's message sound.
    QString soundName = QStringLiteral("default");
    QVariantMap userInfo;
    std::optional<StudyReminderPreferences::Time> dailyTime;
    // When there is no daily time.
    QDateTime fireDate;
    // When the agent will show it next (as listed by the agent).
    QDateTime nextFireDate;

    // The trigger as the agent takes it: {"type": "daily", "hour", "minute"} or
    // {"type": "interval", "fireTime"}.
    QVariantMap trigger() const;
    // nullopt for a trigger this app does not write.
    static std::optional<LocalNotificationRequest> fromAgent(const QVariantMap& pending);
};
