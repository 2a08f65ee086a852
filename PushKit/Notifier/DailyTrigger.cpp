#include "DailyTrigger.h"

#include <limits>

namespace {

constexpr qint64 secondsPerDay = 24 * 3600;

} // namespace

QDateTime DailyTrigger::onDate(QDate date, const QTimeZone& zone) const {
    // The wall time read as if it were UTC; subtracting an offset gives a candidate instant, which
    // is real when the zone has that offset at that instant.
    const qint64 wall = QDateTime(date, QTime(hour, minute), QTimeZone::utc()).toSecsSinceEpoch();
    const auto offsetAt = [&zone](qint64 seconds) {
        return zone.offsetFromUtc(QDateTime::fromSecsSinceEpoch(seconds, QTimeZone::utc()));
    };
    // Offsets change at most once around a given time of day, so the offsets a day either side
    // are the only ones that can apply.
    const int before = offsetAt(wall - secondsPerDay);
    const int after = offsetAt(wall + secondsPerDay);
    qint64 earliest = std::numeric_limits<qint64>::max();
    for (const int offset : {before, after})
        if (offsetAt(wall - offset) == offset)
            earliest = std::min(earliest, wall - offset);
    if (earliest != std::numeric_limits<qint64>::max())
        return QDateTime::fromSecsSinceEpoch(earliest, QTimeZone::utc());

    // In a gap: the clocks jumped over this time, so the first valid instant is the jump itself,
    // which lies between the two readings of the wall time.
    const qint64 from = wall - std::max(before, after);
    const QTimeZone::OffsetData jump =
        zone.nextTransition(QDateTime::fromSecsSinceEpoch(from, QTimeZone::utc()));
    if (jump.atUtc.isValid())
        return jump.atUtc.toUTC();
    return QDateTime::fromSecsSinceEpoch(wall - before, QTimeZone::utc());
}

QDateTime DailyTrigger::nextFireTime(const QDateTime& after, const QTimeZone& zone) const {
    // Today's time if it is still ahead, else tomorrow's; a later day only when `after` sits in a
    // repeated hour whose first reading has passed.
    const QDate today = after.toTimeZone(zone).date();
    QDateTime candidate = onDate(today, zone);
    for (int day = 1; candidate <= after; ++day)
        candidate = onDate(today.addDays(day), zone);
    return candidate;
}
