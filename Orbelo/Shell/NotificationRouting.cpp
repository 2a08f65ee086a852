#include "Shell/NotificationRouting.h"

#include "Quiz/QuizLaunchRequests.h"

namespace NotificationRouting {

void post(AppContext& context, const NotificationDestination& destination) {
    if (destination.kind == NotificationDestination::Kind::quizSetup)
        QuizLaunchRequests::setPendingCourseId(destination.courseId);
    Q_EMIT context.notificationSelected(destination);
}

NotificationDestination destination(const AppNotification& notification) {
    switch (notification.kind()) {
    case NotificationKind::studyTask:
        return NotificationDestination::study();
    case NotificationKind::sharedDocument:
        return NotificationDestination::library();
    case NotificationKind::exam:
    case NotificationKind::assignment:
    case NotificationKind::adaptiveQuiz:
    case NotificationKind::supplementaryAssignment:
        if (const std::optional<QString> course = notification.courseId())
            return NotificationDestination::quizSetup(*course, notification.topic());
        return NotificationDestination::study();
    case NotificationKind::unknown:
        break;
    }
    return NotificationDestination::study();
}

} // namespace NotificationRouting
