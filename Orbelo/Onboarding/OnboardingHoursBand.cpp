#include "Onboarding/OnboardingHoursBand.h"

#include <limits>

const QList<OnboardingHoursBand>& OnboardingHoursBand::all() {
    static const QList<OnboardingHoursBand> bands{
        {QStringLiteral("light"), QStringLiteral("Under 3 hours"),
         QStringLiteral("Short sessions, high-yield only"), 2, 3},
        {QStringLiteral("steady"), QStringLiteral("3 to 8 hours"), QStringLiteral("The most common answer"),
         5, 8},
        {QStringLiteral("deep"), QStringLiteral("8 to 15 hours"), QStringLiteral("Room for depth and review"),
         12, 15},
        {QStringLiteral("full"), QStringLiteral("15 hours or more"), QStringLiteral("Full-time study mode"),
         20, std::numeric_limits<int>::max()},
    };
    return bands;
}

std::optional<OnboardingHoursBand> OnboardingHoursBand::withId(const QString& id) {
    for (const OnboardingHoursBand& band : all()) {
        if (band.id == id)
            return band;
    }
    return std::nullopt;
}

OnboardingHoursBand OnboardingHoursBand::forHours(int hours) {
    for (const OnboardingHoursBand& band : all()) {
        if (band.upperBound > hours)
            return band;
    }
    // Only INT_MAX itself is not below the last band's bound.
    return all().constLast();
}
