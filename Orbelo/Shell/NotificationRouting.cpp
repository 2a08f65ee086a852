#include "NotificationRouting.h"

#include "NotificationCenter.h"
#include "QuizLaunchRequests.h"

namespace NotificationRouting {

void post(const Destination& destination) {
    if (destination.kind == Destination::Kind::quizSetup)
        QuizLaunchRequests::setPendingCourseId(destination.courseId);
    NotificationCenter::shared().post(didSelectNotification, QVariant::fromValue(destination));
}

bool isQuizSetup(const QVariant& object) {
    return object.metaType() == QMetaType::fromType<Destination>() &&
           object.value<Destination>().kind == Destination::Kind::quizSetup;
}

Destination destination(const AppNotification& notification) {
    switch (notification.kind()) {
    case NotificationKind::studyTask:
        return Destination::study();
    case NotificationKind::sharedDocument:
        return Destination::library();
    case NotificationKind::exam:
    case NotificationKind::assignment:
    case NotificationKind::adaptiveQuiz:
    case NotificationKind::supplementaryAssignment:
        if (const std::optional<QString> course = notification.courseId())
            return Destination::quizSetup(*course, notification.topic());
        return Destination::study();
    case NotificationKind::unknown:
        break;
    }
    return Destination::study();
}

} // namespace NotificationRouting
