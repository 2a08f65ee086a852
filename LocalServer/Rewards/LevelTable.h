#pragma once

#include <QString>

// Levels by total XP: ten named levels from "Novice" at 0 XP to "Legend" at 5,000.
class LevelTable {
public:
    static constexpr int levelCount = 10;

    struct Standing {
        int level = 1;
        QString name;
        int totalXp = 0;
        int xpIntoLevel = 0;   // XP past this level's threshold
        int levelSpan = 0;     // XP from this level's threshold to the next one's; at the top, xpIntoLevel
        int xpToNextLevel = 0; // 0 at the top
    };

    static Standing standing(int totalXp);
    // The XP at which `level` (1 to levelCount) starts.
    static int threshold(int level);
    static QString name(int level);
};
