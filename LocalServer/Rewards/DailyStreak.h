#pragma once

#include <QDate>
#include <QTimeZone>

// Consecutive local days with a completed quiz. A quiz on the day after the last active day
// continues the streak, one on the same day changes nothing, and one after a missed day starts
// again at 1 — unless streak freezes cover the missed days, one freeze a day.
struct DailyStreak {
    int days = 0;
    QDate lastActiveDay; // invalid before the first quiz

    // The streak after a quiz on `day` with `freezes` unspent freezes; `freezesSpent` (when given)
    // is how many of them the quiz uses up: one per missed day, and none unless they cover them all.
    DailyStreak afterQuizOn(const QDate& day, int freezes = 0, int* freezesSpent = nullptr) const;
    // The streak as it stands on `today`: 0 once more days have passed without a quiz than
    // `freezes` can cover, counting only the days before today.
    int daysOn(const QDate& today, int freezes = 0) const;

    // The calendar day of `ms` (since 1970) in `zone`.
    static QDate localDay(qint64 ms, const QTimeZone& zone);
};
