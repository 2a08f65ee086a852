#pragma once

#include "Quizzes/QuizCompleteResponse.h"

#include <QString>
#include <QStringList>

// What a finished quiz earned, as the result screen words it. Empty texts are left out.
struct QuizRewards {
    QString xp;      // "40 XP"
    QString credits; // "25 · silver"
    QStringList multipliers;
    // One achievement: "Achievement unlocked: First quiz", with no title. Several: the title
    // "Achievements unlocked" over their names.
    QString achievementsTitle;
    QStringList achievements;

    static QuizRewards from(const QuizCompleteResponse& response);
    // "× 1.5 difficulty", "× 2 streak"; empty for a multiplier of 1.0 or less.
    static QString multiplierText(double value, const QString& kind);
    bool isEmpty() const;
};
