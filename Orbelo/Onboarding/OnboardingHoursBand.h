#pragma once

#include <QList>
#include <QString>

#include <optional>

// A band of weekly study time. `hours` is what the profile stores for it; `upperBound` is
// exclusive, and the last band has no limit.
struct OnboardingHoursBand {
    QString id;
    QString label;
    QString detail;
    int hours = 0;
    int upperBound = 0;

    static const QList<OnboardingHoursBand>& all();
    static std::optional<OnboardingHoursBand> withId(const QString& id);
    // The first band whose upper bound is above a stored number of hours.
    static OnboardingHoursBand forHours(int hours);
};
