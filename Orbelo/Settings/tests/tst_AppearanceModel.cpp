#include <QtTest>

#include "Appearance.h"
#include "InMemoryPreferences.h"
#include "ScriptedClient.h"
#include "ScriptedHttpServer.h"
#include "Settings/AppearanceModel.h"
#include "TaskProbe.h"

namespace {

QStringList labels(const QVariantList& options) {
    QStringList out;
    for (const QVariant& option : options)
        out << option.toMap().value("label").toString();
    return out;
}

UserRewardItem reward(const QString& type, std::optional<bool> active) {
    UserRewardItem item;
    item.rewardType = type;
    item.isActive = active;
    return item;
}

const QByteArray ownedTheme = R"([{"user_reward_id":"urw_1","user_id":"u1","reward_id":"night_owl_theme",
    "reward_name":"Night Owl Theme","reward_type":"theme","usage_count":0,"is_active":true,
    "fulfillment_status":"available"}])";

} // namespace

// The Appearance choice on the settings screen: what is offered, what is stored, and how owning
// the Night Owl theme is learnt from the server.
class AppearanceModelTest : public QObject {
    Q_OBJECT
    Appearance appearance{nullptr};
private Q_SLOTS:
    void init() {
        appearance.setChoice(Appearance::system);
        appearance.setNightOwlOwned(false);
        appearance.setHighContrast(false);
    }

    void nightOwlIsOfferedAndTakenOnlyWhenOwned() {
        InMemoryPreferences preferences;
        AppearanceModel model(appearance, preferences);
        QCOMPARE(labels(model.options()), QStringList({"System", "Light", "Dark"}));
        model.choose(Appearance::nightOwl);
        QCOMPARE(appearance.choice(), Appearance::system);
        QVERIFY(!preferences.contains(AppearanceModel::choiceKey));

        QSignalSpy changed(&model, &AppearanceModel::changed);
        appearance.setNightOwlOwned(true);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(labels(model.options()), QStringList({"System", "Light", "Dark", "Night Owl"}));
        model.choose(Appearance::nightOwl);
        QCOMPARE(model.choice(), Appearance::nightOwl);
        QCOMPARE(appearance.paletteName(), QStringLiteral("nightOwl"));
        QCOMPARE(preferences.string(AppearanceModel::choiceKey), Appearance::nightOwl);

        model.choose(QStringLiteral("sepia"));
        QCOMPARE(model.choice(), Appearance::nightOwl);
        QCOMPARE(preferences.string(AppearanceModel::choiceKey), Appearance::nightOwl);
        model.choose(Appearance::light);
        QCOMPARE(preferences.string(AppearanceModel::choiceKey), Appearance::light);
        QCOMPARE(appearance.paletteName(), QStringLiteral("light"));
    }

    // A stored Night Owl waits for the rewards: the look stays the system's, then turns Night Owl.
    void restoredNightOwlWaitsForOwnership() {
        InMemoryPreferences preferences;
        preferences.setValue(AppearanceModel::choiceKey, Appearance::nightOwl);
        AppearanceModel::restore(appearance, preferences);
        AppearanceModel model(appearance, preferences);
        QCOMPARE(appearance.choice(), Appearance::nightOwl);
        QCOMPARE(model.choice(), Appearance::system);
        QCOMPARE(model.note(), AppearanceModel::nightOwlWaitsNote);
        QVERIFY(appearance.paletteName() != QLatin1String("nightOwl"));

        appearance.setNightOwlOwned(true);
        QCOMPARE(model.choice(), Appearance::nightOwl);
        QCOMPARE(model.note(), QString());
        QCOMPARE(appearance.paletteName(), QStringLiteral("nightOwl"));

        // High contrast wins, and the screen says so.
        appearance.setHighContrast(true);
        QCOMPARE(model.note(), AppearanceModel::highContrastNote);
        QVERIFY(appearance.paletteName().startsWith("highContrast"));
    }

    void restoreWithNothingStoredFollowsTheSystem() {
        appearance.setChoice(Appearance::darkChoice);
        InMemoryPreferences preferences;
        AppearanceModel::restore(appearance, preferences);
        QCOMPARE(appearance.choice(), Appearance::system);
    }

    void ownsThemeNeedsAnActiveThemeReward() {
        QVERIFY(AppearanceModel::ownsTheme({reward("song_from_notes", true), reward("theme", true)}));
        QVERIFY(AppearanceModel::ownsTheme({reward("theme", std::nullopt)}));
        QVERIFY(!AppearanceModel::ownsTheme({reward("theme", false)}));
        QVERIFY(!AppearanceModel::ownsTheme({reward("badge", true), reward("tutor_session", true)}));
        QVERIFY(!AppearanceModel::ownsTheme({}));
    }

    void ownershipComesFromThePurchasedList() {
        ScriptedHttpServer server;
        server.enqueue(ScriptedResponse::json(200, ownedTheme));
        TaskProbe<void> owned(AppearanceModel::refreshOwnership(scriptedClient(server), "u1", &appearance));
        QTRY_VERIFY(owned.done());
        QVERIFY(owned.succeeded());
        QCOMPARE(server.requests()[0].target, QByteArray("/api/gamification/rewards/u1/purchased"));
        QVERIFY(appearance.nightOwlOwned());

        // A failed check keeps what was known; an answer without the theme takes it away.
        server.enqueue(ScriptedResponse::json(500, R"({"detail":"down"})"));
        TaskProbe<void> failed(AppearanceModel::refreshOwnership(scriptedClient(server), "u1", &appearance));
        QTRY_VERIFY(failed.done());
        QVERIFY(!failed.succeeded());
        QVERIFY(appearance.nightOwlOwned());
        server.enqueue(ScriptedResponse::json(200, "[]"));
        TaskProbe<void> none(AppearanceModel::refreshOwnership(scriptedClient(server), "u1", &appearance));
        QTRY_VERIFY(none.done());
        QVERIFY(!appearance.nightOwlOwned());
    }
};

QTEST_MAIN(AppearanceModelTest)
#include "tst_AppearanceModel.moc"
