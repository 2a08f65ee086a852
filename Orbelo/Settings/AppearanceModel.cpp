#include "AppearanceModel.h"

#include "Appearance.h"
#include "Gamification/GamificationAPI.h"
#include "PreferencesStore.h"

AppearanceModel::AppearanceModel(QObject* parent)
    : AppearanceModel(Appearance::shared(), PreferencesStore::standard(), parent) {}

AppearanceModel::AppearanceModel(Appearance& appearance, PreferencesStore& preferences, QObject* parent)
    : QObject(parent), appearance_(appearance), preferences_(preferences) {
    connect(&appearance_, &Appearance::changed, this, &AppearanceModel::changed);
}

QVariantList AppearanceModel::options() const {
    QVariantList list{QVariantMap{{"value", Appearance::system}, {"label", QStringLiteral("System")}},
                      QVariantMap{{"value", Appearance::light}, {"label", QStringLiteral("Light")}},
                      QVariantMap{{"value", Appearance::darkChoice}, {"label", QStringLiteral("Dark")}}};
    if (appearance_.nightOwlOwned())
        list << QVariantMap{{"value", Appearance::nightOwl}, {"label", QStringLiteral("Night Owl")}};
    return list;
}

QString AppearanceModel::choice() const {
    // A Night Owl choice made before the reward is confirmed shows as the look in use.
    if (appearance_.choice() == Appearance::nightOwl && !appearance_.nightOwlOwned())
        return Appearance::system;
    return appearance_.choice();
}

QString AppearanceModel::note() const {
    if (appearance_.highContrast())
        return highContrastNote;
    if (appearance_.choice() == Appearance::nightOwl && !appearance_.nightOwlOwned())
        return nightOwlWaitsNote;
    return {};
}

void AppearanceModel::choose(const QString& value) {
    if (!Appearance::choices().contains(value))
        return;
    if (value == Appearance::nightOwl && !appearance_.nightOwlOwned())
        return;
    preferences_.setValue(choiceKey, value);
    appearance_.setChoice(value);
}

void AppearanceModel::restore(Appearance& appearance, const PreferencesStore& preferences) {
    appearance.setChoice(preferences.string(choiceKey).value_or(Appearance::system));
}

bool AppearanceModel::ownsTheme(const QList<UserRewardItem>& owned) {
    for (const UserRewardItem& reward : owned)
        if (reward.rewardType == QLatin1String("theme") && reward.isActive.value_or(true))
            return true;
    return false;
}

async::Task<void> AppearanceModel::refreshOwnership(APIClient client, QString userId,
                                                    Appearance* appearance) {
    const QList<UserRewardItem> owned = co_await GamificationAPI(std::move(client)).purchasedRewards(userId);
    appearance->setNightOwlOwned(ownsTheme(owned));
}
