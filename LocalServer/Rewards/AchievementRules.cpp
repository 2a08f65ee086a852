#include "Rewards/AchievementRules.h"

#include <array>

namespace {

using Progress = AchievementRules::Progress;

struct Rule {
    const char* id;
    const char* name;
    bool (*met)(const Progress&);
};

// Ids are stored with the users who earned them: never rename one.
constexpr std::array<Rule, 10> rules{{
    {"first_quiz", "First Quiz", [](const Progress& p) { return p.quizzesCompleted >= 1; }},
    {"quizzes_10", "Quiz Regular", [](const Progress& p) { return p.quizzesCompleted >= 10; }},
    {"quizzes_50", "Quiz Veteran", [](const Progress& p) { return p.quizzesCompleted >= 50; }},
    {"perfect_score", "Perfect Score", [](const Progress& p) { return p.percentage >= 100; }},
    {"hard_perfect", "Hard Mode Hero",
     [](const Progress& p) { return p.percentage >= 100 && p.difficulty == QLatin1String("hard"); }},
    {"streak_3", "On a Roll", [](const Progress& p) { return p.streakDays >= 3; }},
    {"streak_7", "Week Warrior", [](const Progress& p) { return p.streakDays >= 7; }},
    {"streak_30", "Monthly Devotion", [](const Progress& p) { return p.streakDays >= 30; }},
    {"level_5", "Halfway There", [](const Progress& p) { return p.level >= 5; }},
    {"level_10", "Top of the Class", [](const Progress& p) { return p.level >= 10; }},
}};

} // namespace

QList<AchievementRules::Achievement> AchievementRules::all() {
    QList<Achievement> list;
    for (const Rule& rule : rules)
        list.append({QString::fromLatin1(rule.id), QString::fromLatin1(rule.name)});
    return list;
}

QList<AchievementRules::Achievement> AchievementRules::metBy(const Progress& progress) {
    QList<Achievement> list;
    for (const Rule& rule : rules) {
        if (rule.met(progress))
            list.append({QString::fromLatin1(rule.id), QString::fromLatin1(rule.name)});
    }
    return list;
}
