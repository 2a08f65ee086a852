#pragma once

#include "Calendar/StudyEventSummary.h"
#include "Study/ScheduleGroup.h"

#include <QHash>
#include <QTimeZone>

// Lays the backend's study events out by day for reading in one time zone.
namespace ScheduleGrouping {

// Days in date order, each day's all-day events first and then the rest by start time. Timed
// events fall on the day they start in `zone`; an all-day event keeps the date it was given, since
// a whole day does not move with the reader's time zone. Events whose start cannot be read are
// left out. `courseNames` maps course ids to names.
QList<ScheduleGroup> byDay(const QList<StudyEventSummary>& events, const QTimeZone& zone,
                           const QHash<QString, QString>& courseNames = {});

// "Mon 7 Sep, Week 1: Cell biology, all day" — what a screen reader says for an entry.
QString accessibleName(const ScheduleGroup& group, const ScheduleEntry& entry);

} // namespace ScheduleGrouping
