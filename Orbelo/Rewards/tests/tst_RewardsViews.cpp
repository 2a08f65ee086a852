#include "ViewTest.h"

#include "Notifications/NotificationsBadge.h"
#include "Rewards/RewardsModel.h"
#include "ScriptedClient.h"
#include "ScriptedHttpServer.h"
#include "VirtualClock.h"

// The Rewards screens load without QML errors, and what a user reaches them by is there.
class RewardsViewsTest : public ViewTest {
    Q_OBJECT
private Q_SLOTS:
    // The Rewards tab, signed out, says so.
    void rewardsTab() {
        std::unique_ptr<QQuickItem> shell = load("RootShell.qml");
        QVERIFY(shell);
        Q_EMIT context->sectionRequested(6);
        QTRY_COMPARE(itemsNamed(shell.get(), "Sign in to view your rewards.").size(), 1);
        for (const char* name : {"Marketplace", "My Rewards", "Refresh"})
            QVERIFY2(itemsNamed(shell.get(), name).size() == 1, name);
    }

    // The Rewards screen over a scripted backend: the header, the cards with their buttons, the
    // filter, buying with its toast, and the owned song with its player and collapsed lyrics.
    void rewardsScreen() {
        ScriptedHttpServer server;
        bool bought = false;
        server.setHandler([&](const RecordedRequest& r) {
            if (r.path.startsWith("/api/gamification/credits/"))
                return ScriptedResponse::json(
                    200, R"({"bronze_credits":0,"silver_credits":0,"gold_credits":0,)"
                         R"("platinum_credits":0,"lifetime_earned":0,"lifetime_spent":0,)"
                         R"("total_points":)" +
                             QByteArray(bought ? "150}" : "250}"));
            if (r.path.startsWith("/api/gamification/level/"))
                return ScriptedResponse::json(200,
                                              R"({"current_level":3,"level_name":"Scholar","current_xp":0,)"
                                              R"("total_xp":0,"xp_to_next_level":100})");
            if (r.path == "/api/gamification/rewards/catalog")
                return ScriptedResponse::json(
                    200,
                    R"([{"reward_id":"song","name":"Study Song","category":"study_tools",)"
                    R"("reward_type":"song_from_notes","credit_cost":100,"usage_limit":1,"status":"active"},)"
                    R"({"reward_id":"theme","name":"Dark Theme","category":"personalization",)"
                    R"("reward_type":"theme","credit_cost":50,"status":"coming_soon"}])");
            if (r.path == "/api/gamification/rewards/purchase") {
                bought = true;
                return ScriptedResponse::json(200, R"({"success":true,"credits_remaining":150})");
            }
            return ScriptedResponse::json(
                200,
                bought
                    ? R"([{"user_reward_id":"s1","user_id":"u1","reward_id":"song","reward_name":"Cell Song",)"
                      R"("reward_type":"song_from_notes","usage_count":1,"remaining_uses":1,)"
                      R"("fulfillment_status":"fulfilled","fulfillment_data":{"song_id":"x",)"
                      R"("audio_url":"http://127.0.0.1:9/a.ogg","lyrics":"## Verse\nATP"}}])"
                    : "[]");
        });
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        RewardsModel rewards(scriptedClient(server), [] { return std::optional<QString>("u1"); });
        std::unique_ptr<QQuickItem> view =
            load("RewardsView.qml", {{"rewards", QVariant::fromValue(&rewards)}});
        QVERIFY(view);
        QTRY_COMPARE(itemsNamed(view.get(), "250 credits").size(), 1);
        for (const char* name :
             {"Level 3", "Study Song", "Purchase", "Dark Theme", "Coming soon", "100 credits", "1 use", "All",
              "Study tools", "Power-ups", "Personalization", "Premium"})
            QVERIFY2(itemsNamed(view.get(), name).size() == 1, name);
        press(view.get(), "Power-ups");
        QCOMPARE(itemsNamed(view.get(), "Nothing in this category yet").size(), 1);
        press(view.get(), "All");

        press(view.get(), "Purchase");
        QTRY_COMPARE(itemsNamed(view.get(), "Purchased Study Song").size(), 1);
        QCOMPARE(itemsNamed(view.get(), "150 credits").size(), 1);
        clock.advance(RewardsModel::toastDuration);
        QVERIFY(itemsNamed(view.get(), "Purchased Study Song").isEmpty());

        press(view.get(), "My Rewards");
        QTRY_COMPARE(itemsNamed(view.get(), "Cell Song").size(), 1);
        for (const char* name :
             {"Fulfilled", "Song reward · 1 use left", "Play song", "Playback position", "Lyrics"})
            QVERIFY2(itemsNamed(view.get(), name).size() == 1, name);
        QVERIFY(itemsNamed(view.get(), "ATP").isEmpty());
        press(view.get(), "Lyrics");
        QCOMPARE(itemsNamed(view.get(), "ATP").size(), 1);
        QCOMPARE(itemsNamed(view.get(), "Read lyrics aloud").size(), 1);
        // The shared unread count may have been fetched on this test's clock: done before it goes.
        QTRY_VERIFY(!NotificationsBadge::shared().isRefreshing());
    }

    // The sheet of the Library toolbar and the account menu: the same screen and "Done".
    void rewardsSheet() {
        QQuickWindow window;
        window.resize(1200, 800);
        std::unique_ptr<QObject> sheet = openSheet(window, "RewardsSheet.qml");
        QVERIFY(sheet);
        QTRY_VERIFY(sheet->property("opened").toBool());
        for (const char* name : {"Marketplace", "My Rewards", "Done"})
            QVERIFY2(itemsNamed(window.contentItem(), name).size() == 1, name);
        QSignalSpy dismissed(sheet.get(), SIGNAL(dismissed()));
        press(window.contentItem(), "Done");
        QTRY_COMPARE(dismissed.size(), 1);
    }

    // "Create Study Song" with every picker named; without documents "Generate Song" stays off.
    void songGenerationSheet() {
        QQuickWindow window;
        window.resize(1200, 800);
        std::unique_ptr<QObject> sheet = openSheet(window, "SongGenerationSheet.qml");
        QVERIFY(sheet);
        for (const char* name : {"Create Study Song", "Course", "Document", "Genre",
                                 "Key ideas to focus on  (optional)", "Generate Song", "Close"})
            QVERIFY2(!itemsNamed(window.contentItem(), QString::fromUtf8(name)).isEmpty(), name);
        QVERIFY(!itemsNamed(window.contentItem(), "Generate Song").at(0)->isEnabled());
        QCOMPARE(itemsNamed(window.contentItem(), "Genre").at(0)->property("displayText").toString(),
                 QStringLiteral("Hip-Hop"));
        press(window.contentItem(), "Close");
        QTRY_VERIFY(!sheet->property("visible").toBool());
    }
};

QTEST_MAIN(RewardsViewsTest)
#include "tst_RewardsViews.moc"
