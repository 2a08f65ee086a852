#include "Quiz/QuizRewards.h"

QuizRewards QuizRewards::from(const QuizCompleteResponse& response) {
    QuizRewards rewards;
    if (response.xpAwarded)
        rewards.xp = QStringLiteral("%1 XP").arg(*response.xpAwarded);
    if (response.creditsAwarded && response.creditsAwarded->amount) {
        rewards.credits = QString::number(*response.creditsAwarded->amount);
        const QString tier = response.creditsAwarded->tier.value_or(QString());
        if (!tier.isEmpty())
            rewards.credits += QStringLiteral(" · ") + tier;
    }
    if (response.multipliers) {
        for (const QString& text :
             {multiplierText(response.multipliers->difficulty.value_or(1), QStringLiteral("difficulty")),
              multiplierText(response.multipliers->streak.value_or(1), QStringLiteral("streak")),
              multiplierText(response.multipliers->xpBoost.value_or(1), QStringLiteral("double XP"))}) {
            if (!text.isEmpty())
                rewards.multipliers << text;
        }
    }
    QStringList names;
    for (const AchievementEarned& achievement :
         response.achievementsEarned.value_or(QList<AchievementEarned>())) {
        // An achievement without a name is still earned; its id is all there is to show.
        const QString name = achievement.name.value_or(QString()).trimmed();
        names << (name.isEmpty() ? achievement.achievementId : name);
    }
    if (names.size() == 1) {
        rewards.achievements << QStringLiteral("Achievement unlocked: ") + names.first();
    } else if (names.size() > 1) {
        rewards.achievementsTitle = QStringLiteral("Achievements unlocked");
        rewards.achievements = names;
    }
    return rewards;
}

QString QuizRewards::multiplierText(double value, const QString& kind) {
    if (!(value > 1.0))
        return {};
    QString number = QString::number(value, 'f', 1);
    if (number.endsWith(QStringLiteral(".0")))
        number.chop(2);
    return QStringLiteral("× ") + number + u' ' + kind;
}

bool QuizRewards::isEmpty() const {
    return xp.isEmpty() && credits.isEmpty() && multipliers.isEmpty() && achievements.isEmpty();
}
