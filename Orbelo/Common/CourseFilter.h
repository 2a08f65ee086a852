#pragma once

#include "Documents/DocumentItem.h"

#include <QString>

// Which documents the library shows by course: all of them, those without a course, or one
// course's. The screen names a filter by its key: "all", "unassigned" or "course:" + the id.
class CourseFilter {
public:
    enum class Kind { all, unassigned, course };

    CourseFilter() = default;
    static CourseFilter unassigned() { return CourseFilter(Kind::unassigned, {}); }
    static CourseFilter course(const QString& id) { return CourseFilter(Kind::course, id); }
    // An unknown key means all.
    static CourseFilter fromKey(const QString& key);

    Kind kind() const { return kind_; }
    QString courseId() const { return courseId_; }
    QString key() const;
    bool passes(const DocumentItem& document) const;

    bool operator==(const CourseFilter&) const = default;

private:
    CourseFilter(Kind kind, QString courseId) : kind_(kind), courseId_(std::move(courseId)) {}

    Kind kind_ = Kind::all;
    QString courseId_;
};
