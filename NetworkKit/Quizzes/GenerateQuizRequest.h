#pragma once

#include "JsonRecord.h"
#include "QuizDifficulty.h"
#include "QuizQuestionType.h"

struct GenerateQuizRequest {
    std::optional<QString> topic;
    int numQuestions = 0;
    QuizDifficulty difficulty = QuizDifficulty::easy;
    QuizQuestionType questionType = QuizQuestionType::multipleChoice;
    bool forceRegenerate = false;
    JSON_RECORD(GenerateQuizRequest, topic, numQuestions, difficulty, questionType, forceRegenerate)
};
