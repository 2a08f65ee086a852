#pragma once

#include <QList>
#include <QString>

#include <optional>

// One answer a question offers: the value the profile stores, and what the card says.
struct OnboardingOption {
    QString value;
    QString label;
    QString detail;

    static const QList<OnboardingOption>& levels();
    static const QList<OnboardingOption>& goals();
    static const QList<OnboardingOption>& styles();
    static std::optional<OnboardingOption> find(const QList<OnboardingOption>& options, const QString& value);
};
