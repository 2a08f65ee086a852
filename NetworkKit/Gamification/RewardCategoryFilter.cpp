#include "RewardCategoryFilter.h"

#include "Json.h"

QString displayName(RewardCategoryFilter filter) {
    switch (filter) {
    case RewardCategoryFilter::all:
        return QStringLiteral("All");
    case RewardCategoryFilter::studyTools:
        return QStringLiteral("Study tools");
    case RewardCategoryFilter::personalization:
        return QStringLiteral("Personalization");
    case RewardCategoryFilter::powerUps:
        return QStringLiteral("Power-ups");
    case RewardCategoryFilter::premiumExperiences:
        return QStringLiteral("Premium");
    }
    return {};
}

bool matches(RewardCategoryFilter filter, const QString& category) {
    return filter == RewardCategoryFilter::all || category == json::rawValue(filter);
}
