#pragma once

#include <array>
#include <utility>

enum class QuizDifficulty { easy, medium, hard };

constexpr std::array<std::pair<QuizDifficulty, const char*>, 3> jsonRawValues(QuizDifficulty) {
    return {
        {{QuizDifficulty::easy, "easy"}, {QuizDifficulty::medium, "medium"}, {QuizDifficulty::hard, "hard"}}};
}
