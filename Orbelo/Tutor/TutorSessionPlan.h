#pragma once

#include "Flashcards/Flashcard.h"
#include "GuidedReading/GuidedReadingPlan.h"

#include <QList>
#include <QString>
#include <QStringList>

// What a tutor session is made of and how its texts read: a few of the reading guide's questions,
// the course's due cards and a short quiz, within one time limit.
namespace TutorSessionPlan {

constexpr int questionLimit = 5;
constexpr int cardLimit = 10;
constexpr int quizQuestions = 5;

// The guide's comprehension questions with text, from its first style that has some, at most `limit`.
QList<GRComprehensionQuestion> guideQuestions(const GuidedReadingPlan& plan, int limit = questionLimit);
// The due cards of the course, in the order given, at most `limit`.
QList<Flashcard> courseCards(const QList<Flashcard>& due, const QString& courseId, int limit = cardLimit);
// "29:05": minutes and seconds left, a started second counting whole; "0:00" once over.
QString remainingText(qint64 remainingMs);
// "Cards reviewed: 4 (Again 1, Hard 0, Good 2, Easy 1)" from the count of each rating.
QString cardsLine(const QList<int>& ratingCounts);

} // namespace TutorSessionPlan
