#include "Rewards/LevelTable.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<int, const char*>, LevelTable::levelCount> levels{{
    {0, "Novice"},
    {100, "Learner"},
    {250, "Apprentice"},
    {500, "Scholar"},
    {900, "Achiever"},
    {1400, "Expert"},
    {2000, "Master"},
    {2800, "Sage"},
    {3800, "Luminary"},
    {5000, "Legend"},
}};

} // namespace

int LevelTable::threshold(int level) {
    return levels.at(size_t(level - 1)).first;
}

QString LevelTable::name(int level) {
    return QString::fromLatin1(levels.at(size_t(level - 1)).second);
}

LevelTable::Standing LevelTable::standing(qint64 totalXp) {
    int level = 1;
    while (level < levelCount && totalXp >= threshold(level + 1))
        ++level;
    Standing standing;
    standing.level = level;
    standing.name = name(level);
    standing.totalXp = totalXp;
    standing.xpIntoLevel = totalXp - threshold(level);
    // At the top the bar stays full: the span is the XP already past the last threshold.
    standing.levelSpan = level < levelCount ? threshold(level + 1) - threshold(level) : standing.xpIntoLevel;
    standing.xpToNextLevel = level < levelCount ? threshold(level + 1) - totalXp : 0;
    return standing;
}
