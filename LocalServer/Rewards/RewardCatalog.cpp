#include "Rewards/RewardCatalog.h"

#include <QFile>
#include <QJsonDocument>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcCatalog, "orbelo.server.rewards")

namespace {

const QStringList categories{"study_tools", "power_ups", "personalization", "premium_experiences"};
const QStringList statuses{"available", "coming_soon"};

std::optional<int> positive(const QJsonValue& value) {
    if (!value.isDouble() || value.toDouble() != value.toInt() || value.toInt() < 1)
        return std::nullopt;
    return value.toInt();
}

} // namespace

QList<RewardCatalog::Item> RewardCatalog::parse(const QByteArray& text) {
    QList<Item> items;
    for (const QJsonValue& entry : QJsonDocument::fromJson(text).array()) {
        const QJsonObject object = entry.toObject();
        Item item;
        item.rewardId = object.value("reward_id").toString();
        item.name = object.value("name").toString();
        item.category = object.value("category").toString();
        item.rewardType = object.value("reward_type").toString();
        item.status = object.value("status").toString();
        const auto cost = positive(object.value("credit_cost"));
        const auto level = object.contains("requires_level") ? positive(object.value("requires_level")) : 1;
        if (item.rewardId.isEmpty() || item.name.isEmpty() || item.rewardType.isEmpty() ||
            !categories.contains(item.category) || !statuses.contains(item.status) || !cost || !level) {
            qCWarning(lcCatalog).noquote()
                << "catalogue entry left out:" << QJsonDocument(object).toJson(QJsonDocument::Compact);
            continue;
        }
        item.creditCost = *cost;
        item.requiresLevel = *level;
        item.usageLimit = positive(object.value("usage_limit"));
        item.durationDays = positive(object.value("duration_days"));
        item.record = object;
        item.record.insert("requires_level", item.requiresLevel);
        items.append(item);
    }
    return items;
}

const QList<RewardCatalog::Item>& RewardCatalog::items() {
    static const QList<Item> loaded = [] {
        QFile file(":/localserver/rewards.json");
        return file.open(QIODevice::ReadOnly) ? parse(file.readAll()) : QList<Item>();
    }();
    return loaded;
}

std::optional<RewardCatalog::Item> RewardCatalog::find(const QString& rewardId) {
    for (const Item& item : items())
        if (item.rewardId == rewardId)
            return item;
    return std::nullopt;
}

QJsonArray RewardCatalog::json() {
    QJsonArray list;
    for (const Item& item : items())
        list.append(item.record);
    return list;
}
