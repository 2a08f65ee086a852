#pragma once

#include "Courses/CourseSummary.h"

#include <QList>
#include <QString>
#include <QVariantList>

// How the screens that pick a course name and list the user's courses.
namespace CourseChoices {

// The course's name, or "Untitled course" when it has none.
QString label(const CourseSummary& course);
// One {"id", "label"} entry per course, in order, for a picker.
QVariantList options(const QList<CourseSummary>& courses);
// The same, after an "All courses" entry with an empty id: for pickers where no course is a choice.
QVariantList optionsWithAll(const QList<CourseSummary>& courses);
bool contains(const QList<CourseSummary>& courses, const QString& courseId);

} // namespace CourseChoices
