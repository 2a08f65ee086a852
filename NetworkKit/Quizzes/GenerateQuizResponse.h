#pragma once

#include "JsonRecord.h"
#include "QuizQuestion.h"

struct GenerateQuizResponse {
    std::optional<QString> quizId; // what a completion names
    std::optional<QString> title;
    std::optional<QString> description;
    QList<QuizQuestion> questions;
    std::optional<int> totalQuestions;
    std::optional<QString> difficulty;
    std::optional<bool> fromCache;
    std::optional<int> attemptCount;
    std::optional<bool> canRegenerate;
    std::optional<int> dailyGenerationsUsed;
    std::optional<int> dailyGenerationsRemaining;
    std::optional<int> maxDailyGenerations;
    std::optional<QString> note; // why the quiz has fewer questions than asked, when it has
    JSON_RECORD(GenerateQuizResponse, quizId, title, description, questions, totalQuestions, difficulty,
                fromCache, attemptCount, canRegenerate, dailyGenerationsUsed, dailyGenerationsRemaining,
                maxDailyGenerations, note)
};
