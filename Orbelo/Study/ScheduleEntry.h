#pragma once

#include <QDateTime>
#include <QString>

// One study event as the schedule lists it, its times already in the reader's time zone.
struct ScheduleEntry {
    QString eventKey;
    QString title;
    QString description;
    // "All day" or "10:00 – 10:45".
    QString timeText;
    // Empty when the event belongs to no known course.
    QString courseName;
    bool allDay = false;
    QDateTime start;
};
