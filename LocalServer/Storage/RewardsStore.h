#pragma once

#include "DailyStreak.h"
#include "RewardsRules.h"

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
    explicit RewardsStore(ServerContext& context) : context_(context) {}

    // Awards a completed quiz at `nowMs` in one transaction: XP, streak, credits and achievements,
    // and answers the award (a QuizCompleteResponse). An attempt already awarded answers its
    // first award again and changes nothing; an empty attempt id is a new attempt. Nothing when a
    // write failed.
    std::optional<QJsonObject> completeQuiz(const QString& userId, const QString& attemptId,
                                            const RewardsRules::Quiz& quiz, qint64 nowMs,
                                            const QTimeZone& zone);
    // Adds `amount` (below zero: takes it away) to the balance in one transaction; the new
    // balance, or nothing when it would go below zero.
    std::optional<int> grantCredits(const QString& userId, int amount, const QString& reason);

    // Takes `amount` from the balance inside the caller's transaction, as a ledger entry with
    // `reason` and `reference`; false, with nothing written, when the balance is short.
    bool spendInTransaction(const QString& userId, int amount, const QString& reason,
                            const QString& reference);

    int balance(const QString& userId);
    // CreditsBalance: credits earned per tier, the balance in points, and the lifetime sums.
    QJsonObject creditsBalance(const QString& userId);
    // UserLevelDTO.
    QJsonObject level(const QString& userId);
    // GamificationSummary, with the streak as it stands on `today`.
    QJsonObject summary(const QString& userId, const QDate& today);

private:
    struct Progress {
        int totalXp = 0;
        DailyStreak streak;
        int quizzesCompleted = 0;
    };
    Progress progress(const QString& userId);
    // Appends a ledger entry inside the caller's transaction; false when it was refused.
    bool appendCredits(const QString& userId, int amount, const QString& tier, const QString& reason,
                       const QString& reference, qint64 nowMs);

    ServerContext& context_;
};
