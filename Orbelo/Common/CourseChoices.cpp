#include "Common/CourseChoices.h"

#include <algorithm>

namespace CourseChoices {

QString label(const CourseSummary& course) {
    const QString name = course.courseName.value_or(QString()).trimmed();
    return name.isEmpty() ? QStringLiteral("Untitled course") : name;
}

QVariantList options(const QList<CourseSummary>& courses) {
    QVariantList options;
    for (const CourseSummary& course : courses)
        options << QVariantMap{{QStringLiteral("id"), course.courseId},
                               {QStringLiteral("label"), label(course)}};
    return options;
}

QVariantList optionsWithAll(const QList<CourseSummary>& courses) {
    return QVariantList{QVariantMap{{QStringLiteral("id"), QString()},
                                    {QStringLiteral("label"), QStringLiteral("All courses")}}} +
           options(courses);
}

bool contains(const QList<CourseSummary>& courses, const QString& courseId) {
    return std::any_of(courses.begin(), courses.end(),
                       [&](const CourseSummary& course) { return course.courseId == courseId; });
}

} // namespace CourseChoices
