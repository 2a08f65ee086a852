#include "Rewards/RewardsRules.h"

#include <array>
#include <utility>

namespace {

struct TierRow {
    const char* name;
    double fromPercentage;
    int pointValue;
};
// Highest first; the first row the score reaches is its tier.
constexpr std::array<TierRow, 4> tiers{{
    {"platinum", 95, 30},
    {"gold", 80, 20},
    {"silver", 60, 10},
    {"bronze", 0, 5},
}};

// Longest first: {days, hundredths}.
constexpr std::array<std::pair<int, int>, 4> streakSteps{{{30, 200}, {14, 150}, {7, 125}, {3, 110}}};

} // namespace

std::optional<int> RewardsRules::difficultyPercent(const QString& difficulty) {
    if (difficulty == QLatin1String("easy"))
        return 100;
    if (difficulty == QLatin1String("medium"))
        return 120;
    if (difficulty == QLatin1String("hard"))
        return 150;
    return std::nullopt;
}

int RewardsRules::streakPercent(int streakDays) {
    for (const auto& [days, percent] : streakSteps) {
        if (streakDays >= days)
            return percent;
    }
    return 100;
}

QString RewardsRules::tier(double percentage) {
    for (const TierRow& row : tiers) {
        if (percentage >= row.fromPercentage)
            return QString::fromLatin1(row.name);
    }
    return QString::fromLatin1(tiers.back().name);
}

int RewardsRules::pointValue(const QString& tier) {
    for (const TierRow& row : tiers) {
        if (tier == QLatin1String(row.name))
            return row.pointValue;
    }
    return 0;
}

RewardsRules::Award RewardsRules::award(const Quiz& quiz, int streakDays, bool doubled) {
    const int difficulty = difficultyPercent(quiz.difficulty).value_or(100);
    const int streak = streakPercent(streakDays);
    int baseXp = xpPerCorrectAnswer * quiz.correct;
    if (quiz.percentage >= 80)
        baseXp += greatScoreBonusXp;
    if (quiz.percentage >= 100)
        baseXp += perfectScoreBonusXp;
    Award award;
    award.xp = scaled(baseXp, difficulty, streak) * (doubled ? 2 : 1);
    award.tier = tier(quiz.percentage);
    award.pointValue = pointValue(award.tier);
    award.credits = scaled(award.pointValue, difficulty, streak);
    award.difficultyMultiplier = difficulty / 100.0;
    award.streakMultiplier = streak / 100.0;
    award.xpBoostMultiplier = doubled ? 2 : 1;
    return award;
}

int RewardsRules::scaled(int value, int aPercent, int bPercent) {
    return int((qint64(value) * aPercent * bPercent + 5000) / 10000);
}
