#include "Rewards/UserRewardStore.h"

#include "Rewards/RewardCatalog.h"
#include "Rewards/RewardsStore.h"
#include "ServerContext.h"
#include "Songs/SongStore.h"
#include "Storage/RandomId.h"

#include <QDateTime>
#include <QJsonDocument>

namespace {

constexpr qint64 dayMs = 24LL * 60 * 60 * 1000;

QString iso(qint64 ms) {
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toString(Qt::ISODateWithMs);
}

QJsonValue nullable(const QVariant& value) {
    return value.isNull() ? QJsonValue() : QJsonValue::fromVariant(value);
}

} // namespace

UserRewardStore::Purchase UserRewardStore::purchase(const QString& userId, const QString& rewardId) {
    Purchase answer;
    const auto item = RewardCatalog::find(rewardId);
    if (!item) {
        answer.outcome = Purchase::Outcome::unknownReward;
        answer.detail = QStringLiteral("No such reward.");
        return answer;
    }
    if (item->status != "available") {
        answer.outcome = Purchase::Outcome::comingSoon;
        answer.detail = item->name + QStringLiteral(" is coming soon and can't be bought yet.");
        return answer;
    }
    Database& db = context_.db;
    const bool bought = db.inTransaction([&] {
        answer = Purchase();
        // Read inside the write transaction: a purchase racing this one waits for it (or, where
        // it ran alongside, runs again after it) and then sees the balance this one left.
        RewardsStore rewards(context_);
        const int level = rewards.level(userId).value("current_level").toInt();
        if (level < item->requiresLevel) {
            answer.outcome = Purchase::Outcome::levelTooLow;
            answer.detail = QStringLiteral("Reach level %1 to buy %2.")
                                .arg(QString::number(item->requiresLevel), item->name);
            return false;
        }
        const qint64 balance = rewards.balance(userId);
        if (balance < item->creditCost) {
            answer.outcome = Purchase::Outcome::notEnoughCredits;
            answer.detail = QStringLiteral("Not enough credits: %1 costs %2 credits and you have %3.")
                                .arg(item->name, QString::number(item->creditCost), QString::number(balance));
            return false;
        }
        const QString id = RandomId::make("urw");
        const qint64 now = context_.nowMs();
        const QVariant none(QMetaType(QMetaType::Int));
        QVariant expires = item->durationDays ? QVariant(now + *item->durationDays * dayMs) : none;
        QVariant used = 0;
        QVariant data(QMetaType(QMetaType::QString));
        if (timed(item->rewardType) && item->durationDays) {
            // Bought while another is in effect, it follows on from that one.
            const qint64 from = activeUntil(userId, item->rewardType, now).value_or(now);
            expires = from + *item->durationDays * dayMs;
            used = item->usageLimit.value_or(1);
            data = QString::fromUtf8(QJsonDocument(QJsonObject{{"type", item->rewardType},
                                                               {"active_from", iso(from)},
                                                               {"active_until", iso(expires.toLongLong())}})
                                         .toJson(QJsonDocument::Compact));
        }
        const bool written =
            rewards.spendInTransaction(userId, item->creditCost, QStringLiteral("purchase"), id) &&
            db.exec("INSERT INTO user_rewards (id, user_id, reward_id, reward_name, reward_type, credit_cost,"
                    " usage_limit, usage_count, fulfillment_data, purchased_at, expires_at)"
                    " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                    {id, userId, item->rewardId, item->name, item->rewardType, item->creditCost,
                     item->usageLimit ? QVariant(*item->usageLimit) : none, used, data, now, expires});
        if (!written)
            return false;
        answer.creditsRemaining = rewards.balance(userId);
        answer.userRewardId = id;
        return true;
    });
    if (bought)
        answer.outcome = Purchase::Outcome::bought;
    else if (answer.outcome == Purchase::Outcome::failed)
        answer = Purchase();
    return answer;
}

QJsonArray UserRewardStore::owned(const QString& userId) {
    QJsonArray list;
    for (const QVariantMap& row : context_.db.rows(
             "SELECT * FROM user_rewards WHERE user_id = ? ORDER BY purchased_at DESC, id", {userId}))
        list.append(itemJson(row));
    return list;
}

std::optional<QVariantMap> UserRewardStore::reward(const QString& userRewardId, const QString& userId) {
    return context_.db.row("SELECT * FROM user_rewards WHERE id = ? AND user_id = ?", {userRewardId, userId});
}

bool UserRewardStore::expired(const QVariantMap& reward) const {
    const QVariant expires = reward.value("expires_at");
    return !expires.isNull() && expires.toLongLong() <= context_.nowMs();
}

void UserRewardStore::fulfilMnemonic(const QString& userId, const QString& documentId,
                                     const QJsonObject& record) {
    QJsonObject data{{"mnemonic", record.value("mnemonic")},
                     {"explanation", record.value("explanation")},
                     {"mnemonic_type", record.value("type")},
                     {"type", "mnemonic"}};
    if (!documentId.isEmpty())
        data.insert("document_id", documentId);
    context_.db.exec("UPDATE user_rewards SET usage_count = usage_count + 1, fulfillment_data = ? WHERE id ="
                     " (SELECT id FROM user_rewards WHERE user_id = ? AND reward_type = ? AND (usage_limit "
                     "IS NULL OR usage_limit > usage_count)"
                     " AND (expires_at IS NULL OR expires_at > ?) ORDER BY purchased_at, id LIMIT 1)",
                     {QString::fromUtf8(QJsonDocument(data).toJson(QJsonDocument::Compact)), userId,
                      mnemonicType, context_.nowMs()});
}

bool UserRewardStore::spendUse(const QString& userRewardId, const QJsonObject& data) {
    return context_.db.changed(
               "UPDATE user_rewards SET usage_count = usage_count + 1, fulfillment_data = ? WHERE id = ?"
               " AND (usage_limit IS NULL OR usage_count < usage_limit)",
               {QString::fromUtf8(QJsonDocument(data).toJson(QJsonDocument::Compact)), userRewardId}) == 1;
}

int UserRewardStore::unspentFreezes(const QString& userId) {
    const auto row =
        context_.db.row("SELECT COUNT(*) AS n FROM user_rewards WHERE user_id = ? AND reward_type ="
                        " ? AND usage_count < COALESCE(usage_limit, 1)",
                        {userId, freezeType});
    return row ? row->value("n").toInt() : 0;
}

bool UserRewardStore::spendFreezes(const QString& userId, const QList<QDate>& coveredDays) {
    for (const QDate& day : coveredDays) {
        const QJsonObject data{{"type", freezeType}, {"covered_day", day.toString(Qt::ISODate)}};
        const bool spent =
            context_.db.changed(
                "UPDATE user_rewards SET usage_count = usage_count + 1, fulfillment_data = ?"
                " WHERE id = (SELECT id FROM user_rewards WHERE user_id = ? AND reward_type = ?"
                " AND usage_count < COALESCE(usage_limit, 1) ORDER BY purchased_at, id LIMIT 1)",
                {QString::fromUtf8(QJsonDocument(data).toJson(QJsonDocument::Compact)), userId,
                 freezeType}) == 1;
        if (!spent)
            return false;
    }
    return true;
}

std::optional<qint64> UserRewardStore::activeUntil(const QString& userId, const QString& type, qint64 atMs) {
    const auto row = context_.db.row("SELECT MAX(expires_at) AS until FROM user_rewards WHERE user_id = ? AND"
                                     " reward_type = ? AND purchased_at <= ? AND expires_at > ?",
                                     {userId, type, atMs, atMs});
    if (!row || row->value("until").isNull())
        return std::nullopt;
    return row->value("until").toLongLong();
}

bool UserRewardStore::owns(const QString& userId, const QString& type) {
    return context_.db
        .row("SELECT 1 FROM user_rewards WHERE user_id = ? AND reward_type = ? LIMIT 1", {userId, type})
        .has_value();
}

bool UserRewardStore::timed(const QString& type) {
    return type == QLatin1String(xpBoostType) || type == QLatin1String(premiumType);
}

QJsonObject UserRewardStore::itemJson(const QVariantMap& row) {
    const QString id = row.value("id").toString();
    const bool song = row.value("reward_type").toString() == songType;
    SongStore songs(context_);
    const int used = row.value("usage_count").toInt();
    const QVariant limit = row.value("usage_limit");
    // A song being composed holds its use until it is ready or has failed.
    const int held = song ? songs.composing(id) : 0;
    const bool usedUp = !limit.isNull() && used >= limit.toInt();
    QJsonValue data;
    if (song) {
        if (const auto latest = songs.fulfilment(id))
            data = *latest;
    } else if (!row.value("fulfillment_data").isNull()) {
        data = QJsonDocument::fromJson(row.value("fulfillment_data").toByteArray()).object();
    }
    return QJsonObject{
        {"user_reward_id", id},
        {"user_id", row.value("user_id").toString()},
        {"reward_id", row.value("reward_id").toString()},
        {"reward_name", row.value("reward_name").toString()},
        {"reward_type", row.value("reward_type").toString()},
        {"usage_count", used},
        {"usage_limit", nullable(limit)},
        {"remaining_uses", limit.isNull() ? QJsonValue() : QJsonValue(qMax(0, limit.toInt() - used - held))},
        // A timed reward's use is spent when it starts; it is in effect until it expires.
        {"is_active", (!usedUp || timed(row.value("reward_type").toString())) && !expired(row)},
        {"fulfillment_status", usedUp     ? "fulfilled"
                               : used > 0 ? "used"
                                          : "available"},
        {"fulfillment_data", data},
        {"credit_cost", row.value("credit_cost").toInt()},
        {"purchased_at", iso(row.value("purchased_at").toLongLong())},
        {"expires_at", row.value("expires_at").isNull()
                           ? QJsonValue()
                           : QJsonValue(iso(row.value("expires_at").toLongLong()))},
    };
}
