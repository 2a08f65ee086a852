#pragma once

#include <QString>
#include <QVariant>

// What other parts of the app leave for the Quiz tab to pick up when it next opens: the course a
// notification pointed at, and the deep link of a clicked notification ("quiz" or
// "quiz-auto-start"), which NotificationManager keeps. Process-wide and main-thread only.
namespace QuizLaunchRequests {

inline const QString autoStartLink = QStringLiteral("quiz-auto-start");

// Overwrites any course id still waiting.
void setPendingCourseId(const QString& courseId);
// The waiting course id, once; empty when there is none.
QString takePendingCourseId();
// The waiting course id, left waiting.
QString pendingCourseId();

// NotificationManager::shared()'s pending deep link.
void setPendingDeepLink(const QString& link);
// Read without taking it: the shell only selects the Quiz tab for it.
QString pendingDeepLink();
// "quiz" or "quiz-auto-start": the links that open the Quiz tab.
bool opensQuiz(const QVariant& link);
// True, and clears it, when the waiting link asks for a quiz to start at once; any other link
// stays for whoever it is for.
bool takeAutoStart();

} // namespace QuizLaunchRequests
