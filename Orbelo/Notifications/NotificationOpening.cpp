#include "NotificationOpening.h"

#include "User/UserAPI.h"

#include <algorithm>

namespace NotificationOpening {

QString pushedNotificationId(const QVariant& link) {
    if (link.typeId() != QMetaType::QString)
        return {};
    const QString text = link.toString();
    return text.startsWith(pushedLinkPrefix) ? text.mid(pushedLinkPrefix.size()).trimmed() : QString();
}

async::Task<bool> markReadIfUnread(NotificationsAPI api, AppNotification notification) {
    if (notification.isRead)
        co_return false;
    try {
        co_await api.markRead(notification.id);
    } catch (...) {
        co_return false;
    }
    co_return true;
}

async::Task<NotificationRouting::Destination> destination(APIClient client, AppNotification notification) {
    const NotificationRouting::Destination routed = NotificationRouting::destination(notification);
    if (routed.kind != NotificationRouting::Destination::Kind::quizSetup)
        co_return routed;
    QList<CourseSummary> courses;
    try {
        courses = (co_await UserAPI(std::move(client)).bootstrap()).courses;
    } catch (...) {
        co_return routed;
    }
    const bool known = std::any_of(courses.cbegin(), courses.cend(), [&](const CourseSummary& course) {
        return course.courseId == routed.courseId;
    });
    co_return known ? routed : NotificationRouting::Destination::study();
}

} // namespace NotificationOpening
