#pragma once

#include <QDateTime>
#include <QTimeZone>

// A time of day that repeats every day in a time zone's wall-clock time. The next firing is always
// worked out again from the hour and minute, so a change of time zone or of daylight-saving time
// moves it with the wall clock.
struct DailyTrigger {
    int hour = 0;
    int minute = 0;

    // The first instant strictly after `after` at which the zone's wall clock reads hour:minute.
    // On a day when that time does not exist (the hour skipped when clocks go forward) it is the
    // first valid instant after the gap; when it exists twice (clocks going back) only the first
    // of the two counts.
    QDateTime nextFireTime(const QDateTime& after, const QTimeZone& zone) const;
    // The instant of this wall time on `date`, resolved as nextFireTime describes.
    QDateTime onDate(QDate date, const QTimeZone& zone) const;
};
