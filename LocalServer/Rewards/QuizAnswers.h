#pragma once

#include <QJsonArray>
#include <QString>
#include <QStringList>

// Grades a quiz's answers against the questions the server wrote, by the rules the app grades
// them with: a choice answer is the decimal position of the chosen option ("+" or "-" allowed),
// right when it equals "correct_answer"; a fill-in answer is right when, trimmed and lower-cased
// and not empty, it equals one of "correct_answers" (or, with none, the first option) treated the
// same way.
class QuizAnswers {
public:
    // How many of `answers` (one per question, in order) are right.
    static int correctCount(const QString& questionType, const QJsonArray& questions,
                            const QStringList& answers);

private:
    static bool isCorrect(bool fillIn, const QJsonObject& question, const QString& answer);
};
