#pragma once

#include "User/UserProfileUpdateRequest.h"

#include <QStringList>

#include <optional>

// What the user has answered so far: stored values, as the option tables name them.
struct OnboardingAnswers {
    QStringList interests; // in the order they were picked
    std::optional<QString> level;
    QStringList goals;
    std::optional<QString> hours; // the id of an OnboardingHoursBand
    std::optional<QString> style;

    bool operator==(const OnboardingAnswers&) const = default;

    // The profile change that carries these answers. Empty lists are left out, and the completion
    // flag goes only with the last save.
    UserProfileUpdateRequest profileUpdate(bool completing) const;
    // The backend spells the first level "High school".
    static QString wireSchoolLevel(const QString& level);
};
