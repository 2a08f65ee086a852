#pragma once

#include <QString>

#include <array>
#include <utility>

enum class QuizQuestionType { multipleChoice, trueFalse, fillInBlank };

constexpr std::array<std::pair<QuizQuestionType, const char*>, 3> jsonRawValues(QuizQuestionType) {
    return {{{QuizQuestionType::multipleChoice, "multiple_choice"},
             {QuizQuestionType::trueFalse, "true_false"},
             {QuizQuestionType::fillInBlank, "fill_in_blank"}}};
}

inline QString displayName(QuizQuestionType type) {
    switch (type) {
    case QuizQuestionType::multipleChoice:
        return QStringLiteral("Multiple choice");
    case QuizQuestionType::trueFalse:
        return QStringLiteral("True / False");
    case QuizQuestionType::fillInBlank:
        return QStringLiteral("Fill in the blank");
    }
    return {};
}
