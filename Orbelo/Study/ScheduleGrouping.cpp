#include "Study/ScheduleGrouping.h"

#include <QLocale>

#include <algorithm>
#include <map>

namespace {

// English names in the short forms the headings use ("Sep", not the British "Sept").
const QLocale english = QLocale::c();

// The backend's timestamps carry an offset ("2026-09-07T10:00:00+02:00" or "...Z"); one without
// is read as a time in the reader's zone.
std::optional<QDateTime> instant(const QString& text, const QTimeZone& zone) {
    QDateTime parsed = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!parsed.isValid())
        return std::nullopt;
    if (parsed.timeSpec() == Qt::LocalTime)
        parsed = QDateTime(parsed.date(), parsed.time(), zone);
    return parsed.toTimeZone(zone);
}

// The date an all-day event was given, whatever time and offset come with it.
QDate calendarDate(const QString& text) {
    return QDate::fromString(text.left(10), Qt::ISODate);
}

QString clockTime(const QDateTime& time) {
    return english.toString(time.time(), QStringLiteral("HH:mm"));
}

} // namespace

QList<ScheduleGroup> ScheduleGrouping::byDay(const QList<StudyEventSummary>& events, const QTimeZone& zone,
                                             const QHash<QString, QString>& courseNames) {
    std::map<QDate, QList<ScheduleEntry>> days;
    for (const StudyEventSummary& event : events) {
        ScheduleEntry entry;
        entry.eventKey = event.eventKey;
        entry.title = event.title;
        entry.description = event.description.value_or(QString());
        entry.allDay = event.allDay.value_or(false);
        entry.courseName = courseNames.value(event.courseId.value_or(QString()));
        QDate day;
        if (entry.allDay) {
            day = calendarDate(event.startsAt);
            entry.start = QDateTime(day, QTime(0, 0), zone);
            entry.timeText = QStringLiteral("All day");
        } else {
            const auto start = instant(event.startsAt, zone);
            if (!start)
                continue;
            day = start->date();
            entry.start = *start;
            entry.timeText = clockTime(*start);
            if (const auto end = instant(event.endsAt, zone))
                entry.timeText += QStringLiteral(" – ") + clockTime(*end);
        }
        if (!day.isValid())
            continue;
        days[day] << entry;
    }

    QList<ScheduleGroup> groups;
    for (auto& [day, entries] : days) {
        std::stable_sort(entries.begin(), entries.end(), [](const ScheduleEntry& a, const ScheduleEntry& b) {
            if (a.allDay != b.allDay)
                return a.allDay;
            return a.start < b.start;
        });
        groups << ScheduleGroup{day, english.toString(day, QStringLiteral("ddd d MMM")), entries};
    }
    return groups;
}

QString ScheduleGrouping::accessibleName(const ScheduleGroup& group, const ScheduleEntry& entry) {
    QStringList parts{group.label, entry.title};
    parts << (entry.allDay ? QStringLiteral("all day")
                           : QString(entry.timeText).replace(QStringLiteral(" – "), QStringLiteral(" to ")));
    if (!entry.courseName.isEmpty())
        parts << entry.courseName;
    return parts.join(QStringLiteral(", "));
}
