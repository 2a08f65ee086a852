#pragma once

#include <QString>

#include <array>
#include <utility>

// The rewards catalogue's category tabs: `all` matches every item, the others an item's category.
enum class RewardCategoryFilter { all, studyTools, personalization, powerUps, premiumExperiences };

constexpr std::array<std::pair<RewardCategoryFilter, const char*>, 5> jsonRawValues(RewardCategoryFilter) {
    return {{{RewardCategoryFilter::all, "all"},
             {RewardCategoryFilter::studyTools, "study_tools"},
             {RewardCategoryFilter::personalization, "personalization"},
             {RewardCategoryFilter::powerUps, "power_ups"},
             {RewardCategoryFilter::premiumExperiences, "premium_experiences"}}};
}

QString displayName(RewardCategoryFilter filter);
bool matches(RewardCategoryFilter filter, const QString& category);
