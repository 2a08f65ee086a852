#pragma once

#include "Courses/StudyEvent.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The study schedule as an iCalendar document (RFC 5545, with RFC 7986's REFRESH-INTERVAL), built
// with libical: a published calendar with the user's VTIMEZONE, one VEVENT per study event, whose
// UID comes from the event's key so that calendar apps update events instead of doubling them.
namespace ICalendarWriter {
constexpr auto calendarName = "Orbelo study plan";
// How often subscribers are asked to fetch the feed again.
constexpr int refreshHours = 6;
// Names this form of the document in the feed's ETag: change it whenever write() would write the
// same events differently.
constexpr auto formVersion = "1";

// `zoneId` is the IANA zone the events' local times are in ("UTC" writes them in UTC).
QByteArray write(const QList<StudyEvent>& events, const QString& zoneId);
} // namespace ICalendarWriter
