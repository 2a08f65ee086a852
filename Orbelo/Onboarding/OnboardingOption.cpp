#include "Onboarding/OnboardingOption.h"

const QList<OnboardingOption>& OnboardingOption::levels() {
    static const QList<OnboardingOption> options{
        {QStringLiteral("High School"), QStringLiteral("High school"), QStringLiteral("Grades 9–12")},
        {QStringLiteral("Undergraduate"), QStringLiteral("Undergraduate"),
         QStringLiteral("Working toward a bachelor’s")},
        {QStringLiteral("Graduate"), QStringLiteral("Graduate"),
         QStringLiteral("Masters, PhD or professional school")},
        {QStringLiteral("Professional"), QStringLiteral("Out of school"),
         QStringLiteral("Certifications and self-study")},
    };
    return options;
}

const QList<OnboardingOption>& OnboardingOption::goals() {
    static const QList<OnboardingOption> options{
        {QStringLiteral("Improve grades"), QStringLiteral("Raising my GPA"),
         QStringLiteral("Steady gains across every class")},
        {QStringLiteral("Pass exams"), QStringLiteral("Passing a specific exam"),
         QStringLiteral("A date to work back from")},
        {QStringLiteral("Master subject"), QStringLiteral("Actually remembering it"),
         QStringLiteral("Recall that survives the test")},
        {QStringLiteral("Prepare for certification"), QStringLiteral("Earning a certification"),
         QStringLiteral("A credential with a syllabus")},
    };
    return options;
}

const QList<OnboardingOption>& OnboardingOption::styles() {
    static const QList<OnboardingOption> options{
        {QStringLiteral("visual"), QStringLiteral("Seeing it drawn out"),
         QStringLiteral("Diagrams and worked examples")},
        {QStringLiteral("reading"), QStringLiteral("Reading and writing it"),
         QStringLiteral("Summaries and notes")},
        {QStringLiteral("auditory"), QStringLiteral("Hearing it explained"),
         QStringLiteral("Narration and study songs")},
        {QStringLiteral("kinesthetic"), QStringLiteral("Practising until it sticks"),
         QStringLiteral("Quizzes and spaced recall")},
    };
    return options;
}

std::optional<OnboardingOption> OnboardingOption::find(const QList<OnboardingOption>& options,
                                                       const QString& value) {
    for (const OnboardingOption& option : options) {
        if (option.value == value)
            return option;
    }
    return std::nullopt;
}
