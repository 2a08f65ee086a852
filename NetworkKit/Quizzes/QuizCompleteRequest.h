#pragma once

#include "JsonRecord.h"

struct QuizCompleteRequest {
    QString userId;
    double quizScore = 0;
    QString quizDifficulty;
    std::optional<QString> courseId;
    std::optional<int> totalQuestions;
    std::optional<int> questionsCorrect;
    std::optional<QString> attemptId;
    JSON_RECORD(QuizCompleteRequest, userId, quizScore, quizDifficulty, courseId, totalQuestions,
                questionsCorrect, attemptId)
};
