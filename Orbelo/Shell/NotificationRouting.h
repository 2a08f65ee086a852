#pragma once

#include "Common/AppContext.h"
#include "Notifications/AppNotification.h"

// Where a tapped notification leads, and the hand-over to the shell: a destination is announced by
// the app context's notificationSelected, and the shell's RootDeepLinkHandler selects its tab at
// once; a kept Quiz tab selects the course itself.
namespace NotificationRouting {

// A quiz destination leaves its course for the Quiz tab (QuizLaunchRequests) before it is announced.
void post(AppContext& context, const NotificationDestination& destination);
// Study tasks go to Study, shared documents to the Library; exams, assignments and quizzes open the
// quiz set-up for their course, or Study when they name none; anything else goes to Study.
NotificationDestination destination(const AppNotification& notification);

} // namespace NotificationRouting
