#pragma once

#include <QList>
#include <QString>

#include <optional>

// The screens of the onboarding flow, in order: five questions, then the summary.
enum class OnboardingStep { interests, level, goals, time, style, ready };

namespace OnboardingSteps {

inline constexpr int questionCount = 5;

QList<OnboardingStep> all();
QString rawValue(OnboardingStep step);
// Position in the flow, 0 for interests.
int index(OnboardingStep step);
std::optional<OnboardingStep> next(OnboardingStep step);
std::optional<OnboardingStep> previous(OnboardingStep step);
// Level, time and style take one answer and move on by themselves.
bool isSingleChoice(OnboardingStep step);

QString title(OnboardingStep step);
QString subtitle(OnboardingStep step);
// The goals hint changes once a goal is chosen.
QString hint(OnboardingStep step, bool hasGoal);
// "Question 2 of 5", or "All set" on the summary.
QString progress(OnboardingStep step);

} // namespace OnboardingSteps
