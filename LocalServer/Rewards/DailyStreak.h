#pragma once

#include <QDate>
#include <QTimeZone>

// Consecutive local days with a completed quiz. A quiz on the day after the last active day
// continues the streak, one on the same day changes nothing, and one after a missed day starts
// again at 1.
struct DailyStreak {
    int days = 0;
    QDate lastActiveDay; // invalid before the first quiz

    // The streak after a quiz on `day`.
    DailyStreak afterQuizOn(const QDate& day) const;
    // The streak as it stands on `today`: 0 once a whole day has passed without a quiz.
    int daysOn(const QDate& today) const;

    // The calendar day of `ms` (since 1970) in `zone`.
    static QDate localDay(qint64 ms, const QTimeZone& zone);
};
