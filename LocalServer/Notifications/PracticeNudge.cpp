#include "Notifications/PracticeNudge.h"

#include "Flashcards/FlashcardStore.h"
#include "Notifications/NotificationHub.h"
#include "Rewards/DailyStreak.h"
#include "ServerContext.h"
#include "Storage/UserTimeZone.h"

namespace {

QString cards(int count) {
    return count == 1 ? QStringLiteral("1 flashcard is") : QStringLiteral("%1 flashcards are").arg(count);
}

} // namespace

void PracticeNudge::postIfDue(const QString& userId) {
    const qint64 now = context_.nowMs();
    const QDate today = DailyStreak::localDay(now, UserTimeZone::of(context_.db, userId).zone);
    const QString eventKey = QStringLiteral("practice:") + today.toString(Qt::ISODate);
    if (NotificationStore(context_).hasEvent(userId, eventKey))
        return;
    // Due as FlashcardStore::due counts them: a new card is due from its creation.
    int due = 0;
    std::optional<FlashcardStore::CourseDue> busiest;
    int namedCourses = 0;
    for (const FlashcardStore::CourseDue& course : FlashcardStore(context_).dueByCourse(userId, now)) {
        due += course.due;
        if (course.courseName.isNull())
            continue;
        if (namedCourses++ == 0)
            busiest = course;
    }
    if (due == 0)
        return;

    NotificationStore::Draft draft;
    draft.type = NotificationHub::studyTask;
    draft.title = QStringLiteral("Time to practice");
    draft.eventKey = eventKey;
    draft.metadata.insert("due_count", due);
    if (!busiest) {
        draft.message = cards(due) + QStringLiteral(" due for review today.");
    } else {
        const QString name = busiest->courseName;
        draft.metadata.insert("course_id", busiest->courseId);
        draft.message =
            namedCourses == 1 ? QStringLiteral("%1 due for review in %2 today.").arg(cards(due), name)
            : namedCourses == 2
                ? QStringLiteral("%1 due for review in %2 and one other course today.").arg(cards(due), name)
                : QStringLiteral("%1 due for review in %2 and %3 other courses today.")
                      .arg(cards(due), name, QString::number(namedCourses - 1));
    }
    context_.notifications->post(userId, draft);
}
