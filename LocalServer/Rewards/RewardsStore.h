#pragma once

#include "Http/JsonNumbers.h"
#include "Rewards/DailyStreak.h"
#include "Rewards/RewardsRules.h"

#include <QJsonObject>
#include <QString>
#include <QTimeZone>
#include <optional>

struct ServerContext;

// Each user's XP, daily streak, credits ledger and achievements, and the awards of their
// completed quizzes. The ledger's running balance never goes below zero: the table refuses such
// an entry, so a spend that would overdraw it fails with nothing written.
class RewardsStore {
public:
    // XP and the credits balance never pass this; an award or grant that would is refused whole.
    static constexpr qint64 maxTotal = JsonNumbers::maxExactInteger;

    struct Completion {
        enum class Outcome { awarded, completedBefore, tooMany, atMaximum, failed };
        Outcome outcome = Outcome::failed;
        QJsonObject award;    // awarded: a QuizCompleteResponse
        qint64 retryInMs = 0; // tooMany: until the oldest completion of the hour leaves it
    };

    explicit RewardsStore(ServerContext& context) : context_(context) {}

    // Awards the completion of the issued quiz `quizId` at `nowMs` in one transaction: XP, streak,
    // credits and achievements. An attempt already awarded answers its first award again and
    // changes nothing; an empty attempt id is a new attempt. A quiz another attempt completed,
    // an account with RewardsRules::maxCompletionsPerHour completions in the last hour, or XP or
    // credits that would pass maxTotal earn nothing.
    Completion completeQuiz(const QString& userId, const QString& quizId, const QString& attemptId,
                            const RewardsRules::Quiz& quiz, qint64 nowMs, const QTimeZone& zone);
    // Adds `amount` (below zero: takes it away) to the balance in one transaction; the new
    // balance, or nothing when it would go below zero or above maxTotal.
    std::optional<qint64> grantCredits(const QString& userId, qint64 amount, const QString& reason);

    // Takes `amount` from the balance inside the caller's transaction, as a ledger entry with
    // `reason` and `reference`; false, with nothing written, when the balance is short.
    bool spendInTransaction(const QString& userId, qint64 amount, const QString& reason,
                            const QString& reference);

    // Adds `amount` XP (below zero: takes it away); the new total, or nothing when it would leave
    // 0 to maxTotal.
    std::optional<qint64> grantXp(const QString& userId, qint64 amount);

    qint64 balance(const QString& userId);
    // CreditsBalanceResponse: credits earned per tier, the balance in points, and the lifetime sums.
    QJsonObject creditsBalance(const QString& userId);
    // UserLevelResponse, with whether the user owns the Scholar Badge.
    QJsonObject level(const QString& userId);
    // GamificationSummaryResponse, with the streak as it stands on `today` (kept by unspent freezes).
    QJsonObject summary(const QString& userId, const QDate& today);

private:
    struct Progress {
        qint64 totalXp = 0;
        DailyStreak streak;
        int quizzesCompleted = 0;
    };
    Progress progress(const QString& userId);
    // Appends a ledger entry inside the caller's transaction; false, with nothing written, when
    // the balance would leave 0 to maxTotal or the write failed.
    bool appendCredits(const QString& userId, qint64 amount, const QString& tier, const QString& reason,
                       const QString& reference, qint64 nowMs);

    ServerContext& context_;
};
