#pragma once

#include <QString>

// What other parts of the app leave for the Quiz tab to pick up when it next opens: the course a
// notification pointed at, and the deep link the app was opened with ("quiz" or
// "quiz-auto-start"). Process-wide and main-thread only.
namespace QuizLaunchRequests {

inline const QString autoStartLink = QStringLiteral("quiz-auto-start");

// Overwrites any course id still waiting.
void setPendingCourseId(const QString& courseId);
// The waiting course id, once; empty when there is none.
QString takePendingCourseId();

void setPendingDeepLink(const QString& link);
// Read without taking it: the shell only selects the Quiz tab for it.
QString pendingDeepLink();
// True, and clears it, when the waiting link asks for a quiz to start at once; any other link
// stays for whoever it is for.
bool takeAutoStart();

} // namespace QuizLaunchRequests
