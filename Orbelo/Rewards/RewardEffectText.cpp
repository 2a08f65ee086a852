#include "Rewards/RewardEffectText.h"

#include <QLocale>

namespace RewardEffectText {

namespace {

QDateTime endOf(const UserRewardItem& reward) {
    return reward.expiresAt ? QDateTime::fromString(*reward.expiresAt, Qt::ISODateWithMs) : QDateTime();
}

bool inEffect(const UserRewardItem& reward, const QDateTime& now) {
    const QDateTime end = endOf(reward);
    return end.isValid() && now < end;
}

} // namespace

QDateTime activeUntil(const QList<UserRewardItem>& owned, const QString& type, const QDateTime& now) {
    QDateTime latest;
    for (const UserRewardItem& reward : owned) {
        if (reward.rewardType.value_or(QString()) != type || !inEffect(reward, now))
            continue;
        if (!latest.isValid() || endOf(reward) > latest)
            latest = endOf(reward);
    }
    return latest;
}

QString until(const QDateTime& end, const QDateTime& now) {
    const QDateTime local = end.toLocalTime();
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    if (local.date() == now.toLocalTime().date())
        return local.toString(QStringLiteral("HH:mm"));
    return english.toString(local, QStringLiteral("ddd HH:mm"));
}

QString doubleXpHeader(const QList<UserRewardItem>& owned, const QDateTime& now) {
    const QDateTime end = activeUntil(owned, QString::fromLatin1(xpBoostType), now);
    return end.isValid() ? QStringLiteral("Double XP until ") + until(end, now) : QString();
}

QString premiumHeader(const QList<UserRewardItem>& owned, const QDateTime& now) {
    const QDateTime end = activeUntil(owned, QString::fromLatin1(premiumType), now);
    return end.isValid() ? QStringLiteral("Premium Week until ") + until(end, now) : QString();
}

QString cardNote(const UserRewardItem& reward, const QDateTime& now) {
    const QString type = reward.rewardType.value_or(QString());
    if (type == QLatin1String(freezeType)) {
        const auto covered = reward.fulfillmentData ? reward.fulfillmentData->coveredDay : std::nullopt;
        if (reward.usageCount > 0 && covered) {
            const QDate day = QDate::fromString(*covered, Qt::ISODate);
            return QStringLiteral("Kept your streak through ") +
                   QLocale(QLocale::English, QLocale::UnitedStates)
                       .toString(day, QStringLiteral("dddd, MMMM d")) +
                   u'.';
        }
        return QStringLiteral("Keeps your streak through one missed day. It is used on its own when you miss "
                              "a day.");
    }
    if (type == QLatin1String(xpBoostType) || type == QLatin1String(premiumType)) {
        const QString what = type == QLatin1String(xpBoostType) ? QStringLiteral("Every quiz earns double XP")
                                                                : QStringLiteral("No daily limits on quizzes "
                                                                                 "and narration");
        if (!inEffect(reward, now))
            return QStringLiteral("Ended.");
        return what + QStringLiteral(" until ") + until(endOf(reward), now) + u'.';
    }
    if (type == QLatin1String(badgeType))
        return QStringLiteral("Shown beside your name in the account menu and the progress header.");
    if (type == QLatin1String(themeType))
        return QStringLiteral("Choose Night Owl under Appearance in Settings to wear it.");
    if (type == QLatin1String(tutorType))
        return QStringLiteral("Pick a course and Orbelo runs a 30-minute session from its material: "
                              "reading-guide questions, your due cards and a short quiz.");
    return {};
}

} // namespace RewardEffectText
