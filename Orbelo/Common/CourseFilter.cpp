#include "Common/CourseFilter.h"

namespace {
const QString coursePrefix = QStringLiteral("course:");
}

CourseFilter CourseFilter::fromKey(const QString& key) {
    if (key == QLatin1String("unassigned"))
        return unassigned();
    if (key.startsWith(coursePrefix) && key.size() > coursePrefix.size())
        return course(key.mid(coursePrefix.size()));
    return {};
}

QString CourseFilter::key() const {
    switch (kind_) {
    case Kind::all:
        return QStringLiteral("all");
    case Kind::unassigned:
        return QStringLiteral("unassigned");
    case Kind::course:
        return coursePrefix + courseId_;
    }
    return {};
}

bool CourseFilter::passes(const DocumentItem& document) const {
    switch (kind_) {
    case Kind::all:
        return true;
    case Kind::unassigned:
        return !document.courseId || document.courseId->isEmpty();
    case Kind::course:
        return document.courseId == courseId_;
    }
    return false;
}
