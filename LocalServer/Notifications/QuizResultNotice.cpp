#include "Notifications/QuizResultNotice.h"

#include "Notifications/NotificationHub.h"

#include <cmath>

NotificationStore::Draft QuizResultNotice::draft() const {
    NotificationStore::Draft draft;
    draft.type = NotificationHub::quizResults;
    const int rounded = int(std::lround(percentage));
    draft.title = courseName.isEmpty() ? QStringLiteral("Quiz results")
                                       : QStringLiteral("Quiz results: %1").arg(courseName);
    QString message = QStringLiteral("You scored %1%").arg(rounded);
    if (correct && total)
        message += QStringLiteral(" (%1 of %2)").arg(QString::number(*correct), QString::number(*total));
    message += QStringLiteral(" on a %1 quiz").arg(difficulty);
    if (!topic.isEmpty())
        message += QStringLiteral(" about %1").arg(topic);
    if (!courseName.isEmpty())
        message += QStringLiteral(" in %1").arg(courseName);
    draft.message = message + QLatin1Char('.');
    draft.metadata.insert("quiz_score", rounded);
    draft.metadata.insert("difficulty", difficulty);
    if (!courseId.isEmpty())
        draft.metadata.insert("course_id", courseId);
    if (!topic.isEmpty())
        draft.metadata.insert("topic", topic);
    // An adaptive quiz's related id is "<course id>:<quiz id>"; without a course it would be
    // read as one, so it is left out.
    if (!courseId.isEmpty() && !attemptId.isEmpty())
        draft.relatedId = courseId + QLatin1Char(':') + attemptId;
    if (!attemptId.isEmpty())
        draft.eventKey = QStringLiteral("quiz:") + attemptId;
    return draft;
}
