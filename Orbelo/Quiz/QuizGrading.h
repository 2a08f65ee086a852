#pragma once

#include "Quizzes/QuizQuestion.h"
#include "Quizzes/QuizQuestionType.h"

#include <QMap>
#include <QString>

#include <optional>

// Grading a finished quiz on this computer, and how its score reads. Answers are keyed by question
// position: a choice question's answer is the decimal position of the option chosen, a fill-in
// question's the text typed.
namespace QuizGrading {

enum class Grade { greatWork, keepGoing, reviewNeeded };

struct Score {
    int correct = 0;
    int total = 0;
    double percent = 0; // 0 for a quiz with no questions
};

// A decimal integer with an optional leading "+" or "-" and nothing else.
std::optional<qint64> choiceIndex(const QString& answer);
// Trimmed and lower-cased, for comparing typed answers.
QString normalised(const QString& text);

bool isCorrect(QuizQuestionType type, const QuizQuestion& question, const QString& answer);
// A question without an answer counts as wrong.
Score score(QuizQuestionType type, const QList<QuizQuestion>& questions, const QMap<int, QString>& answers);

Grade grade(const Score& score);
QString gradeText(Grade grade);
// "7 out of 10 correct"
QString scoreLine(const Score& score);
// The whole percent shown in the ring (rounded down, so 59.9 never reads as 60).
int wholePercent(const Score& score);
// What a screen reader says for the score ring: "Score: 70 percent. Keep going".
QString spokenLabel(const Score& score);

} // namespace QuizGrading
