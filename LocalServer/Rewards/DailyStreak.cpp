#include "DailyStreak.h"

#include <QDateTime>

DailyStreak DailyStreak::afterQuizOn(const QDate& day) const {
    if (lastActiveDay.isValid() && day <= lastActiveDay)
        return *this;
    const bool continues = lastActiveDay.isValid() && lastActiveDay.addDays(1) == day;
    return {continues ? days + 1 : 1, day};
}

int DailyStreak::daysOn(const QDate& today) const {
    if (!lastActiveDay.isValid() || lastActiveDay.addDays(1) < today)
        return 0;
    return days;
}

QDate DailyStreak::localDay(qint64 ms, const QTimeZone& zone) {
    return QDateTime::fromMSecsSinceEpoch(ms, zone).date();
}
