#pragma once

#include "NotificationDestination.h"
#include "Notifications/AppNotification.h"

#include <QMetaType>
#include <QString>

#include <optional>

// Where a tapped notification leads, and the hand-over to the shell: a destination is posted as
// "orbeloDidSelectNotification" on the process-local notification centre, and the shell's
// RootDeepLinkHandler selects its tab at once; a kept Quiz tab selects the course itself.
namespace NotificationRouting {

inline const QString didSelectNotification = QStringLiteral("orbeloDidSelectNotification");

// A quiz destination leaves its course for the Quiz tab (QuizLaunchRequests) before it is posted.
void post(const NotificationDestination& destination);
// Whether a posted object is a quiz set-up destination.
bool isQuizSetup(const QVariant& object);
// Study tasks go to Study, shared documents to the Library; exams, assignments and quizzes open the
// quiz set-up for their course, or Study when they name none; anything else goes to Study.
NotificationDestination destination(const AppNotification& notification);

} // namespace NotificationRouting
