#include "Settings/AppearanceModel.h"

#include "Appearance.h"
#include "Gamification/GamificationAPI.h"
#include "PreferencesStore.h"

AppearanceModel::AppearanceModel(QObject* parent)
    : AppearanceModel(nullptr, PreferencesStore::standard(), parent) {}

AppearanceModel::AppearanceModel(Appearance& appearance, PreferencesStore& preferences, QObject* parent)
    : AppearanceModel(&appearance, preferences, parent) {}

AppearanceModel::AppearanceModel(Appearance* appearance, PreferencesStore& preferences, QObject* parent)
    : QObject(parent), preferences_(preferences) {
    setAppearance(appearance);
}

QObject* AppearanceModel::appearance() const {
    return appearance_;
}

void AppearanceModel::setAppearance(QObject* object) {
    auto* appearance = qobject_cast<Appearance*>(object);
    if (appearance == appearance_)
        return;
    if (appearance_)
        disconnect(appearance_, nullptr, this, nullptr);
    appearance_ = appearance;
    if (appearance_)
        connect(appearance_, &Appearance::changed, this, &AppearanceModel::changed);
    Q_EMIT changed();
}

QVariantList AppearanceModel::options() const {
    QVariantList list{QVariantMap{{"value", Appearance::system}, {"label", QStringLiteral("System")}},
                      QVariantMap{{"value", Appearance::light}, {"label", QStringLiteral("Light")}},
                      QVariantMap{{"value", Appearance::darkChoice}, {"label", QStringLiteral("Dark")}}};
    if (appearance_ && appearance_->nightOwlOwned())
        list << QVariantMap{{"value", Appearance::nightOwl}, {"label", QStringLiteral("Night Owl")}};
    return list;
}

QString AppearanceModel::choice() const {
    if (!appearance_)
        return Appearance::system;
    // A Night Owl choice made before the reward is confirmed shows as the look in use.
    if (appearance_->choice() == Appearance::nightOwl && !appearance_->nightOwlOwned())
        return Appearance::system;
    return appearance_->choice();
}

QString AppearanceModel::note() const {
    if (!appearance_)
        return {};
    if (appearance_->highContrast())
        return highContrastNote;
    if (appearance_->choice() == Appearance::nightOwl && !appearance_->nightOwlOwned())
        return nightOwlWaitsNote;
    return {};
}

void AppearanceModel::choose(const QString& value) {
    if (!appearance_ || !Appearance::choices().contains(value))
        return;
    if (value == Appearance::nightOwl && !appearance_->nightOwlOwned())
        return;
    preferences_.setValue(choiceKey, value);
    appearance_->setChoice(value);
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
