#include "Rewards/RewardsStore.h"

#include "Quiz/QuizStore.h"
#include "Rewards/AchievementRules.h"
#include "Rewards/LevelTable.h"
#include "Rewards/UserRewardStore.h"
#include "ServerContext.h"
#include "Storage/RandomId.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

RewardsStore::Completion RewardsStore::completeQuiz(const QString& userId, const QString& quizId,
                                                    const QString& attemptId, const RewardsRules::Quiz& quiz,
                                                    qint64 nowMs, const QTimeZone& zone) {
    Database& db = context_.db;
    const QString attempt = attemptId.isEmpty() ? RandomId::make("attempt") : attemptId;
    Completion result;
    const bool awarded = db.inTransaction([&] {
        result = Completion();
        const auto endWith = [&](Completion::Outcome outcome) {
            result.outcome = outcome;
            return false;
        };
        const auto earlier = db.row("SELECT award FROM quiz_completions WHERE user_id = ? AND attempt_id = ?",
                                    {userId, attempt});
        if (earlier) {
            result.award = QJsonDocument::fromJson(earlier->value("award").toByteArray()).object();
            return endWith(Completion::Outcome::awarded);
        }
        if (!QuizStore(context_).claim(quizId, userId, attempt))
            return endWith(Completion::Outcome::completedBefore);
        // Counted inside the transaction, so that completions sent together cannot pass the limit.
        const auto recent = db.row("SELECT COUNT(*) AS n, MIN(created_at) AS oldest FROM quiz_completions"
                                   " WHERE user_id = ? AND created_at > ?",
                                   {userId, nowMs - RewardsRules::completionWindowMs});
        if (recent && recent->value("n").toInt() >= RewardsRules::maxCompletionsPerHour) {
            result.retryInMs =
                recent->value("oldest").toLongLong() + RewardsRules::completionWindowMs - nowMs;
            return endWith(Completion::Outcome::tooMany);
        }

        const Progress before = progress(userId);
        UserRewardStore owned(context_);
        const QDate day = DailyStreak::localDay(nowMs, zone);
        int freezesSpent = 0;
        const DailyStreak streak =
            before.streak.afterQuizOn(day, owned.unspentFreezes(userId), &freezesSpent);
        // Judged by the completion's own time: a boost that ends before it doubles nothing.
        const bool doubled = owned.activeUntil(userId, UserRewardStore::xpBoostType, nowMs).has_value();
        const RewardsRules::Award award = RewardsRules::award(quiz, streak.days, doubled);
        if (award.xp > maxTotal - before.totalXp || award.credits > maxTotal - balance(userId))
            return endWith(Completion::Outcome::atMaximum);
        const qint64 totalXp = before.totalXp + award.xp;
        const int quizzes = before.quizzesCompleted + 1;
        QList<QDate> covered;
        for (int i = 1; i <= freezesSpent; ++i)
            covered.append(before.streak.lastActiveDay.addDays(i));
        bool written = owned.spendFreezes(userId, covered);
        written =
            written &&
            db.exec(
                "INSERT INTO rewards_progress (user_id, total_xp, streak_days, last_active_day, "
                "quizzes_completed)"
                " VALUES (?, ?, ?, ?, ?) ON CONFLICT (user_id) DO UPDATE SET total_xp = excluded.total_xp,"
                " streak_days = excluded.streak_days, last_active_day = excluded.last_active_day,"
                " quizzes_completed = excluded.quizzes_completed",
                {userId, totalXp, streak.days, streak.lastActiveDay.toString(Qt::ISODate), quizzes});
        written = written &&
                  appendCredits(userId, award.credits, award.tier, QStringLiteral("quiz"), attempt, nowMs);

        QSet<QString> held;
        for (const QVariantMap& row :
             db.rows("SELECT achievement_id FROM achievements WHERE user_id = ?", {userId}))
            held.insert(row.value("achievement_id").toString());
        const AchievementRules::Progress standing{quizzes, quiz.percentage, quiz.difficulty, streak.days,
                                                  LevelTable::standing(totalXp).level};
        QJsonArray earned;
        for (const AchievementRules::Achievement& achievement : AchievementRules::metBy(standing)) {
            if (held.contains(achievement.id))
                continue;
            written =
                written &&
                db.exec("INSERT INTO achievements (user_id, achievement_id, earned_at) VALUES (?, ?, ?)",
                        {userId, achievement.id, nowMs});
            earned.append(QJsonObject{{"achievement_id", achievement.id}, {"name", achievement.name}});
        }

        const QJsonObject answer{
            {"xp_awarded", award.xp},
            {"credits_awarded",
             QJsonObject{{"amount", award.credits}, {"tier", award.tier}, {"point_value", award.pointValue}}},
            {"multipliers", QJsonObject{{"difficulty", award.difficultyMultiplier},
                                        {"streak", award.streakMultiplier},
                                        {"xp_boost", award.xpBoostMultiplier}}},
            {"achievements_earned", earned},
        };
        written = written &&
                  db.exec("INSERT INTO quiz_completions (user_id, attempt_id, award, created_at)"
                          " VALUES (?, ?, ?, ?)",
                          {userId, attempt,
                           QString::fromUtf8(QJsonDocument(answer).toJson(QJsonDocument::Compact)), nowMs});
        if (!written)
            return endWith(Completion::Outcome::failed);
        result.award = answer;
        return true;
    });
    if (awarded)
        result.outcome = Completion::Outcome::awarded;
    else if (result.outcome == Completion::Outcome::failed)
        result.award = {}; // written, but not committed
    return result;
}

std::optional<qint64> RewardsStore::grantCredits(const QString& userId, qint64 amount,
                                                 const QString& reason) {
    qint64 after = 0;
    const bool granted = context_.db.inTransaction([&] {
        if (!appendCredits(userId, amount, {}, reason, {}, context_.nowMs()))
            return false;
        after = balance(userId);
        return true;
    });
    if (!granted)
        return std::nullopt;
    return after;
}

bool RewardsStore::spendInTransaction(const QString& userId, qint64 amount, const QString& reason,
                                      const QString& reference) {
    return amount >= 0 && appendCredits(userId, -amount, {}, reason, reference, context_.nowMs());
}

qint64 RewardsStore::balance(const QString& userId) {
    const auto last = context_.db.row(
        "SELECT balance_after FROM credit_ledger WHERE user_id = ? ORDER BY id DESC LIMIT 1", {userId});
    return last ? last->value("balance_after").toLongLong() : 0;
}

QJsonObject RewardsStore::creditsBalance(const QString& userId) {
    const auto sums = context_.db.row("SELECT COUNT(CASE WHEN tier = 'bronze' THEN 1 END) AS bronze,"
                                      " COUNT(CASE WHEN tier = 'silver' THEN 1 END) AS silver,"
                                      " COUNT(CASE WHEN tier = 'gold' THEN 1 END) AS gold,"
                                      " COUNT(CASE WHEN tier = 'platinum' THEN 1 END) AS platinum,"
                                      " COALESCE(SUM(CASE WHEN amount > 0 THEN amount END), 0) AS earned,"
                                      " COALESCE(-SUM(CASE WHEN amount < 0 THEN amount END), 0) AS spent"
                                      " FROM credit_ledger WHERE user_id = ?",
                                      {userId});
    const QVariantMap row = sums.value_or(QVariantMap());
    return {{"bronze_credits", row.value("bronze").toLongLong()},
            {"silver_credits", row.value("silver").toLongLong()},
            {"gold_credits", row.value("gold").toLongLong()},
            {"platinum_credits", row.value("platinum").toLongLong()},
            {"total_points", balance(userId)},
            {"lifetime_earned", row.value("earned").toLongLong()},
            {"lifetime_spent", row.value("spent").toLongLong()}};
}

QJsonObject RewardsStore::level(const QString& userId) {
    const LevelTable::Standing standing = LevelTable::standing(progress(userId).totalXp);
    return {{"current_level", standing.level},
            {"level_name", standing.name},
            {"current_xp", standing.xpIntoLevel},
            {"total_xp", standing.totalXp},
            {"xp_to_next_level", standing.xpToNextLevel},
            {"scholar_badge", UserRewardStore(context_).owns(userId, UserRewardStore::badgeType)}};
}

std::optional<qint64> RewardsStore::grantXp(const QString& userId, qint64 amount) {
    qint64 after = 0;
    const bool granted = context_.db.inTransaction([&] {
        const qint64 before = progress(userId).totalXp;
        after = before + amount;
        return amount >= -before && amount <= maxTotal - before &&
               context_.db.exec(
                   "INSERT INTO rewards_progress (user_id, total_xp, streak_days, quizzes_completed)"
                   " VALUES (?, ?, 0, 0) ON CONFLICT (user_id) DO UPDATE SET total_xp ="
                   " excluded.total_xp",
                   {userId, after});
    });
    if (!granted)
        return std::nullopt;
    return after;
}

QJsonObject RewardsStore::summary(const QString& userId, const QDate& today) {
    const Progress now = progress(userId);
    const int freezes = UserRewardStore(context_).unspentFreezes(userId);
    const LevelTable::Standing standing = LevelTable::standing(now.totalXp);
    return {{"total_xp", standing.totalXp},
            {"level", standing.level},
            {"current_level_xp", standing.xpIntoLevel},
            {"next_level_xp", standing.levelSpan},
            {"streak", now.streak.daysOn(today, freezes)},
            {"credits", balance(userId)},
            {"scholar_badge", UserRewardStore(context_).owns(userId, UserRewardStore::badgeType)}};
}

RewardsStore::Progress RewardsStore::progress(const QString& userId) {
    const auto row = context_.db.row("SELECT total_xp, streak_days, last_active_day, quizzes_completed FROM "
                                     "rewards_progress WHERE user_id = ?",
                                     {userId});
    if (!row)
        return {};
    return {row->value("total_xp").toLongLong(),
            {row->value("streak_days").toInt(),
             QDate::fromString(row->value("last_active_day").toString(), Qt::ISODate)},
            row->value("quizzes_completed").toInt()};
}

bool RewardsStore::appendCredits(const QString& userId, qint64 amount, const QString& tier,
                                 const QString& reason, const QString& reference, qint64 nowMs) {
    // One statement reads the last balance and writes the next, so no other writer comes between;
    // a balance that would leave 0 to maxTotal writes no row. The bounds are checked on the
    // amount, since the sum of two 64-bit numbers may not fit.
    const QVariant none(QMetaType(QMetaType::QString));
    return context_.db.changed(
               "INSERT INTO credit_ledger (user_id, amount, tier, reason, reference, balance_after, "
               "created_at)"
               " SELECT ?, ?, ?, ?, ?, last + ?, ? FROM (SELECT COALESCE((SELECT balance_after FROM"
               " credit_ledger WHERE user_id = ? ORDER BY id DESC LIMIT 1), 0) AS last) AS prev"
               " WHERE ? >= -last AND ? <= ? - last",
               {userId, amount, tier.isEmpty() ? none : tier, reason, reference.isEmpty() ? none : reference,
                amount, nowMs, userId, amount, amount, maxTotal}) == 1;
}
