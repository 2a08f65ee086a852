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
    // The generated quiz and the answers given, one per question in order: the backend grades them.
    std::optional<QString> quizId;
    std::optional<QList<QString>> answers;
    JSON_RECORD(QuizCompleteRequest, userId, quizScore, quizDifficulty, courseId, totalQuestions,
                questionsCorrect, attemptId, quizId, answers)
};
