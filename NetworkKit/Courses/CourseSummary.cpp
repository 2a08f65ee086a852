#include "CourseSummary.h"

#include "ObjectReader.h"

namespace {

// A nested object, or nothing when it is missing or is not an object.
std::optional<json::ObjectReader> nestedObject(const json::ObjectReader& reader, const char* field,
                                               const json::Path& path) {
    const QJsonValue value = reader.value(field);
    if (!value.isObject())
        return std::nullopt;
    return json::ObjectReader(value, path);
}

std::optional<QString> text(const std::optional<json::ObjectReader>& reader, const char* field) {
    return reader ? reader->lenient<QString>(field) : std::nullopt;
}

std::optional<QString> nonEmpty(std::optional<QString> value) {
    return value && !value->isEmpty() ? value : std::nullopt;
}

} // namespace

CourseSummary CourseSummary::decodeJson(const QJsonValue& value, const json::Path& path) {
    const json::ObjectReader reader(value, path);
    const json::Path studyPlanPath = path.child("studyPlan");
    const json::Path classInformationPath = path.child("classInformation");
    const auto studyPlan = nestedObject(reader, "studyPlan", studyPlanPath);
    const auto classInformation = nestedObject(reader, "classInformation", classInformationPath);

    CourseSummary course;
    course.documentId = reader.lenient<QString>("documentId");
    if (auto id = reader.lenient<QString>("courseId"))
        course.courseId = *id;
    else if (course.documentId)
        course.courseId = *course.documentId;
    else if (auto planId = text(studyPlan, "courseId"))
        course.courseId = *planId;
    else
        reader.fail(QStringLiteral("Course missing course_id, document_id, and study_plan.course_id"));

    for (const auto& candidate :
         {reader.lenient<QString>("courseName"), reader.lenient<QString>("classTitle"),
          reader.lenient<QString>("title"), reader.lenient<QString>("name"),
          text(classInformation, "classTitle"), text(studyPlan, "courseName")}) {
        if ((course.courseName = nonEmpty(candidate)))
            break;
    }
    return course;
}
