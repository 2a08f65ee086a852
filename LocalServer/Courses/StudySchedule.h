#pragma once

#include "Courses/StudyEvent.h"

#include <QDate>
#include <QJsonObject>
#include <QList>
#include <QTimeZone>

// Dates for a study plan, and the events they make.
//
// Week 1 runs from the Monday of the week of the plan's first day, each later week the seven
// days after. Every week has two study blocks of `blockMinutes` at `blockHour`:00 local time, on
// the days after the class meets (Mon/Wed classes study Tuesday and Thursday), filled up with
// Tuesday and Thursday when the meeting days are unknown or fewer than two, the earliest two kept.
namespace StudySchedule {
constexpr int blockHour = 18;
constexpr int blockMinutes = 45;
constexpr int blocksPerWeek = 2;

// The Monday of the week `day` is in.
QDate weekStart(const QDate& day);
// The plan with "start_date" and "start_source" set and, on every week, "start_date", "end_date"
// (its Sunday) and "study_blocks" ([{"date", "start_time", "minutes"}]).
QJsonObject datePlan(QJsonObject plan, const QDate& firstDay, const QString& startSource,
                     const QList<int>& meetingDays);
// The weekdays (1 = Monday) of a week's study blocks for classes meeting on `meetingDays`.
QList<int> blockDays(const QList<int>& meetingDays);
// The plan weeks and study blocks of a dated plan, at their local times in `zone`.
QList<StudyEvent> events(const QString& courseId, const QString& courseName, const QJsonObject& datedPlan,
                         const QTimeZone& zone);
} // namespace StudySchedule
