#include "Quiz/QuizLaunchRequests.h"

#include "NotificationManager.h"

namespace {

QString& pendingCourse() {
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

QString pendingCourseId() {
    return pendingCourse();
}

void setPendingDeepLink(const QString& link) {
    NotificationManager::shared().setPendingDeepLink(link);
}

QString pendingDeepLink() {
    return NotificationManager::shared().pendingDeepLink();
}

bool opensQuiz(const QVariant& link) {
    return link.typeId() == QMetaType::QString &&
           (link.toString() == QStringLiteral("quiz") || link.toString() == autoStartLink);
}

bool takeAutoStart() {
    if (pendingDeepLink() != autoStartLink)
        return false;
    NotificationManager::shared().takePendingDeepLink();
    return true;
}

} // namespace QuizLaunchRequests
