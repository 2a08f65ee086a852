#include "QuizLaunchRequests.h"

namespace {

QString& pendingCourse() {
    static QString value;
    return value;
}

QString& pendingLink() {
    static QString value;
    return value;
}

} // namespace

namespace QuizLaunchRequests {

void setPendingCourseId(const QString& courseId) {
    pendingCourse() = courseId;
}

QString takePendingCourseId() {
    return std::exchange(pendingCourse(), QString());
}

void setPendingDeepLink(const QString& link) {
    pendingLink() = link;
}

QString pendingDeepLink() {
    return pendingLink();
}

bool takeAutoStart() {
    if (pendingLink() != autoStartLink)
        return false;
    pendingLink().clear();
    return true;
}

} // namespace QuizLaunchRequests
