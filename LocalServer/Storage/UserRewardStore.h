#pragma once

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

    static constexpr auto songType = "song_from_notes";
    static constexpr auto mnemonicType = "mnemonic_from_notes";

private:
    QJsonObject itemJson(const QVariantMap& row);

    ServerContext& context_;
};
