#include "Onboarding/OnboardingStep.h"

namespace OnboardingSteps {

namespace {
const QString tapOneHint = QStringLiteral("Tap one — we move on for you");
}

QList<OnboardingStep> all() {
    return {OnboardingStep::interests, OnboardingStep::level, OnboardingStep::goals,
            OnboardingStep::time,      OnboardingStep::style, OnboardingStep::ready};
}

QString rawValue(OnboardingStep step) {
    switch (step) {
    case OnboardingStep::interests:
        return QStringLiteral("interests");
    case OnboardingStep::level:
        return QStringLiteral("level");
    case OnboardingStep::goals:
        return QStringLiteral("goals");
    case OnboardingStep::time:
        return QStringLiteral("time");
    case OnboardingStep::style:
        return QStringLiteral("style");
    case OnboardingStep::ready:
        return QStringLiteral("ready");
    }
    return {};
}

int index(OnboardingStep step) {
    return int(all().indexOf(step));
}

std::optional<OnboardingStep> next(OnboardingStep step) {
    const QList<OnboardingStep> steps = all();
    const int i = index(step);
    if (i + 1 >= steps.size())
        return std::nullopt;
    return steps.at(i + 1);
}

std::optional<OnboardingStep> previous(OnboardingStep step) {
    const int i = index(step);
    if (i == 0)
        return std::nullopt;
    return all().at(i - 1);
}

bool isSingleChoice(OnboardingStep step) {
    return step == OnboardingStep::level || step == OnboardingStep::time || step == OnboardingStep::style;
}

QString title(OnboardingStep step) {
    switch (step) {
    case OnboardingStep::interests:
        return QStringLiteral("What are you into?");
    case OnboardingStep::level:
        return QStringLiteral("Where are you studying?");
    case OnboardingStep::goals:
        return QStringLiteral("What are you working toward?");
    case OnboardingStep::time:
        return QStringLiteral("How much time each week?");
    case OnboardingStep::style:
        return QStringLiteral("How do you learn best?");
    case OnboardingStep::ready:
        return QStringLiteral("You're set.");
    }
    return {};
}

QString subtitle(OnboardingStep step) {
    switch (step) {
    case OnboardingStep::interests:
        return QStringLiteral("We explain new ideas through things you already understand. Pick a few and "
                              "every quiz, card and mnemonic gets built around them.");
    case OnboardingStep::level:
        return QStringLiteral("So explanations land at the right level.");
    case OnboardingStep::goals:
        return QStringLiteral("Pick as many as apply — it decides what your first week focuses on.");
    case OnboardingStep::time:
        return QStringLiteral("We size your plan to fit. Change it whenever the term gets heavier.");
    case OnboardingStep::style:
        return QStringLiteral("This sets the shape of your first study pack.");
    case OnboardingStep::ready:
        return QStringLiteral("Here's what that looks like in practice.");
    }
    return {};
}

QString hint(OnboardingStep step, bool hasGoal) {
    switch (step) {
    case OnboardingStep::interests:
        return QStringLiteral("Optional — but this is the one that changes the most");
    case OnboardingStep::goals:
        return hasGoal ? QStringLiteral("Pick as many as you like") : QStringLiteral("Pick at least one");
    case OnboardingStep::level:
    case OnboardingStep::time:
    case OnboardingStep::style:
        return tapOneHint;
    case OnboardingStep::ready:
        return QStringLiteral("Everything here is editable in Settings");
    }
    return {};
}

QString progress(OnboardingStep step) {
    if (step == OnboardingStep::ready)
        return QStringLiteral("All set");
    return QStringLiteral("Question %1 of %2").arg(index(step) + 1).arg(questionCount);
}

} // namespace OnboardingSteps
