#include "Rewards/DailyStreak.h"

#include <QDateTime>

DailyStreak DailyStreak::afterQuizOn(const QDate& day, int freezes, int* freezesSpent) const {
    if (freezesSpent)
        *freezesSpent = 0;
    if (lastActiveDay.isValid() && day <= lastActiveDay)
        return *this;
    if (!lastActiveDay.isValid())
        return {1, day};
    const qint64 missed = lastActiveDay.daysTo(day) - 1;
    if (missed > freezes)
        return {1, day};
    if (freezesSpent)
        *freezesSpent = int(missed);
    return {days + 1, day};
}

int DailyStreak::daysOn(const QDate& today, int freezes) const {
    if (!lastActiveDay.isValid() || lastActiveDay.addDays(1 + freezes) < today)
        return 0;
    return days;
}

QDate DailyStreak::localDay(qint64 ms, const QTimeZone& zone) {
    return QDateTime::fromMSecsSinceEpoch(ms, zone).date();
}
