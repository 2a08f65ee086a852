#pragma once

#include <QString>
#include <QtGlobal>

// Levels by total XP: ten named levels from "Novice" at 0 XP to "Legend" at 5,000.
class LevelTable {
public:
    static constexpr int levelCount = 10;

    struct Standing {
        int level = 1;
        QString name;
        qint64 totalXp = 0;
        qint64 xpIntoLevel = 0;   // XP past this level's threshold
        qint64 levelSpan = 0;     // XP from this level's threshold to the next one's; at the top, xpIntoLevel
        qint64 xpToNextLevel = 0; // 0 at the top
    };

    static Standing standing(qint64 totalXp);
    // The XP at which `level` (1 to levelCount) starts.
    static int threshold(int level);
    static QString name(int level);
};
