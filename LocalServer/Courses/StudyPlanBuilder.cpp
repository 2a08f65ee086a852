#include "Courses/StudyPlanBuilder.h"

#include <QJsonArray>

namespace StudyPlanBuilder {

QJsonObject build(const QString& courseId, const QString& courseName, const QStringList& topics,
                  const QString& generatedAt) {
    const QStringList weeksTopics = topics.isEmpty() ? QStringList{"Course overview"} : topics;
    QJsonArray weeks;
    for (qsizetype i = 0; i < weeksTopics.size(); ++i) {
        const QString& topic = weeksTopics[i];
        weeks.append(QJsonObject{
            {"week", int(i + 1)},
            {"topic", topic},
            {"tasks", QJsonArray{"Read the material on " + topic, "Summarise " + topic + " in your own words",
                                 "Quiz yourself on " + topic}}});
    }
    return QJsonObject{{"course_id", courseId},
                       {"course_name", courseName},
                       {"weeks", weeks},
                       {"generated_at", generatedAt}};
}

} // namespace StudyPlanBuilder
