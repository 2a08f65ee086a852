#pragma once

#include <QDate>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QVariantMap>
#include <optional>

struct ServerContext;

// Rewards the users bought from the catalogue, their uses and what using them produced.
class UserRewardStore {
public:
    struct Purchase {
        enum class Outcome { bought, unknownReward, comingSoon, levelTooLow, notEnoughCredits, failed };
        Outcome outcome = Outcome::failed;
        QString detail; // the refusal, for the student
        QString userRewardId;
        qint64 creditsRemaining = 0;
    };

    explicit UserRewardStore(ServerContext& context) : context_(context) {}

    // Buys a catalogue item in one transaction: the level and the balance are checked, the cost
    // is taken from the credits ledger and the reward is added, or nothing is written.
    Purchase purchase(const QString& userId, const QString& rewardId);
    // The user's rewards as UserRewardItem records, newest first.
    QJsonArray owned(const QString& userId);
    std::optional<QVariantMap> reward(const QString& userRewardId, const QString& userId);
    bool expired(const QVariantMap& reward) const;
    // A stored mnemonic spends one use of the user's oldest mnemonic reward that has one left and
    // becomes its fulfilment data. One statement, so it may run inside the caller's transaction.
    void fulfilMnemonic(const QString& userId, const QString& documentId, const QJsonObject& record);
    // Spends one use of the reward `userRewardId` with `data` as its fulfilment data; false when it
    // has none left. One statement, so that racing uses cannot spend the same one.
    bool spendUse(const QString& userRewardId, const QJsonObject& data);

    // Streak freezes not yet spent.
    int unspentFreezes(const QString& userId);
    // Spends the user's `count` oldest unspent freezes inside the caller's transaction, each on one
    // of `coveredDays`; false when fewer are left.
    bool spendFreezes(const QString& userId, const QList<QDate>& coveredDays);
    // When the user's rewards of the timed `type` (xpBoostType, premiumType) in effect at `atMs`
    // end; nothing when none is. Timed rewards bought while one is in effect start when it ends.
    std::optional<qint64> activeUntil(const QString& userId, const QString& type, qint64 atMs);
    bool owns(const QString& userId, const QString& type);

    static constexpr auto songType = "song_from_notes";
    static constexpr auto mnemonicType = "mnemonic_from_notes";
    static constexpr auto lyricsType = "lyrics_from_notes";
    static constexpr auto freezeType = "streak_freeze";
    static constexpr auto xpBoostType = "xp_boost";
    static constexpr auto premiumType = "premium_trial";
    static constexpr auto badgeType = "badge";
    // Rewards used the moment they are bought: they are in effect from then until they expire.
    static bool timed(const QString& type);

private:
    QJsonObject itemJson(const QVariantMap& row);

    ServerContext& context_;
};
