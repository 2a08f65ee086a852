#include "Onboarding/OnboardingAnswers.h"

#include "Interests/InterestCatalog.h"
#include "Onboarding/OnboardingHoursBand.h"

UserProfileUpdateRequest OnboardingAnswers::profileUpdate(bool completing) const {
    UserProfileUpdateRequest update;
    if (!interests.isEmpty())
        update.interests =
            InterestCatalog::profileInterests(QSet<QString>(interests.begin(), interests.end()));
    if (level)
        update.schoolLevel = wireSchoolLevel(*level);
    if (!goals.isEmpty())
        update.academicGoals = goals;
    if (hours) {
        if (const auto band = OnboardingHoursBand::withId(*hours))
            update.studyTimePerWeek = band->hours;
    }
    update.learningStyle = style;
    if (completing)
        update.hasCompletedOnboarding = true;
    return update;
}

QString OnboardingAnswers::wireSchoolLevel(const QString& level) {
    return level == QLatin1String("High School") ? QStringLiteral("High school") : level;
}
