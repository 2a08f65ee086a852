#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

// What a finished quiz earns: XP for its right answers with bonuses for a great or perfect score,
// and one credit of the tier its score reaches, both scaled by the quiz's difficulty and the
// user's daily streak. LocalServer/README.md, "Rewards economy", has the tables and worked examples.
class RewardsRules {
public:
    static constexpr int xpPerCorrectAnswer = 10;
    static constexpr int greatScoreBonusXp = 20;   // 80 % or more
    static constexpr int perfectScoreBonusXp = 30; // 100 %, on top of the great-score bonus
    // The most completions that earn per account in any hour.
    static constexpr int maxCompletionsPerHour = 20;
    static constexpr qint64 completionWindowMs = 60 * 60 * 1000;

    struct Quiz {
        int correct = 0;
        double percentage = 0;
        QString difficulty; // "easy", "medium" or "hard"
    };
    struct Award {
        int xp = 0;
        QString tier;
        int pointValue = 0;
        int credits = 0;
        double difficultyMultiplier = 1;
        double streakMultiplier = 1;
        double xpBoostMultiplier = 1; // 2 while a Double XP Day is on
    };

    // In hundredths, so that awards round exactly: 100, 120 or 150; nothing for other names.
    static std::optional<int> difficultyPercent(const QString& difficulty);
    // In hundredths: 100 up to 2 days, 110 from 3, 125 from 7, 150 from 14, 200 from 30.
    static int streakPercent(int streakDays);
    // "bronze" below 60 %, "silver" from 60, "gold" from 80, "platinum" from 95.
    static QString tier(double percentage);
    static int pointValue(const QString& tier);
    // `streakDays` counts the quiz's own day. The difficulty must be a known one. `doubled` doubles
    // the XP (not the credits).
    static Award award(const Quiz& quiz, int streakDays, bool doubled = false);

private:
    // value × a% × b%, rounded half up.
    static int scaled(int value, int aPercent, int bPercent);
};
