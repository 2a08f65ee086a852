#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

// A week-by-week study plan: one week per topic (weekly topics of a syllabus, typed topics, or
// learning objectives), each with reading, review and self-test tasks.
namespace StudyPlanBuilder {
QJsonObject build(const QString& courseId, const QString& courseName, const QStringList& topics,
                  const QString& generatedAt);
}
