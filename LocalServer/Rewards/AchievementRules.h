#pragma once

#include <QList>
#include <QString>

// The achievements a quiz can earn, each with a stable id and its name. Each is earned once:
// the store keeps those a user holds and awards only the others.
class AchievementRules {
public:
    struct Achievement {
        QString id;
        QString name;
    };
    // The user's standing just after a quiz, that quiz included.
    struct Progress {
        int quizzesCompleted = 0;
        double percentage = 0;
        QString difficulty;
        int streakDays = 0;
        int level = 1;
    };

    static QList<Achievement> all();
    // Every achievement whose condition `progress` meets, in the order of all().
    static QList<Achievement> metBy(const Progress& progress);
};
