#pragma once

#include <QString>

#include <optional>

// The line under a quiz result when reporting it went wrong: which of the score and the rewards
// failed, each with its error phrase completed as a sentence. Empty when both went through.
namespace QuizNotice {
QString compose(const std::optional<QString>& scoreError, const std::optional<QString>& rewardsError);
} // namespace QuizNotice
