#pragma once

#include "JsonRecord.h"
#include "QuizDifficulty.h"
#include "QuizQuestionType.h"

struct SaveQuizScoreRequest {
    QString courseId;
    int score = 0;
    int totalQuestions = 0;
    double percentage = 0;
    QuizQuestionType questionType = QuizQuestionType::multipleChoice;
    QuizDifficulty difficulty = QuizDifficulty::easy;
    std::optional<QString> topic;
    std::optional<int> quizDuration;
    std::optional<QString> attemptId;
    JSON_RECORD(SaveQuizScoreRequest, courseId, score, totalQuestions, percentage, questionType, difficulty,
                topic, quizDuration, attemptId)
};
