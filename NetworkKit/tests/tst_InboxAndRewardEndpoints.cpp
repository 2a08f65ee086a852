// Notifications, device registration, gamification, calendar feeds and the school directory, as
// they go over the wire.
#include "Calendar/CalendarAPI.h"
#include "EndpointHarness.h"
#include "Gamification/GamificationAPI.h"
#include "NetworkDirectory/NetworkDirectoryAPI.h"
#include "Notifications/NotificationsAPI.h"

using namespace std::chrono_literals;

class InboxAndRewardEndpointsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void notificationsInbox() {
        EndpointHarness h;
        const NotificationsAPI api(h.client());
        h.answer(QStringLiteral("notifications.json"));
        const NotificationsResponse inbox = h.await(api.notifications(50));
        COMPARE_REQUEST(h.request(), "GET", "/api/notifications?limit=50", nullptr);
        QCOMPARE(EndpointHarness::reencoded(inbox),
                 EndpointHarness::canonical(h.fixture("notifications.json")));
        QCOMPARE(inbox.notifications[0].courseId().value_or(QString()), QStringLiteral("crs_bio201"));
        QVERIFY(inbox.notifications[0].isProficiencyNudge());

        h.answerJson(R"({"count":3})");
        QCOMPARE(h.await(api.unreadCount()).count, 3);
        COMPARE_REQUEST(h.request(), "GET", "/api/notifications/unread-count", nullptr);

        h.answerJson(R"({"message":"Marked as read"})");
        QCOMPARE(h.await(api.markRead("ntf_301")).message.value_or(QString()),
                 QStringLiteral("Marked as read"));
        COMPARE_REQUEST(h.request(), "PATCH", "/api/notifications/ntf_301/read", "{}");

        h.answerJson(R"({"message":"All caught up","count":3})");
        QCOMPARE(h.await(api.markAllRead()).count, 3);
        COMPARE_REQUEST(h.request(), "PATCH", "/api/notifications/read-all", "{}");
    }

    void registeringThisDeviceForPushes() {
        EndpointHarness h;
        h.answerJson(R"({"success":true,"message":"Device registered"})");
        const DeviceRegistrationResponse registered =
            h.await(NotificationsAPI(h.client())
                        .registerDevice({QStringLiteral("9f8e7d6c5b4a"), QStringLiteral("linux"),
                                         QStringLiteral("1.4.0")}));
        COMPARE_REQUEST(h.request(), "POST", "/api/mobile/devices/register",
                        R"({"device_token":"9f8e7d6c5b4a","platform":"linux","app_version":"1.4.0"})");
        QVERIFY(registered.success);
    }

    void creditsAndLevels() {
        EndpointHarness h;
        const GamificationAPI api(h.client());
        h.answer(QStringLiteral("gamification_summary.json"));
        const GamificationSummaryResponse summary = h.await(api.summary());
        COMPARE_REQUEST(h.request(), "GET", "/api/gamification/credits", nullptr);
        QCOMPARE(EndpointHarness::reencoded(summary),
                 EndpointHarness::canonical(h.fixture("gamification_summary.json")));

        h.answer(QStringLiteral("credits_balance.json"));
        const CreditsBalanceResponse balance = h.await(api.creditsBalance("user_2k9XfQ"));
        COMPARE_REQUEST(h.request(), "GET", "/api/gamification/credits/user_2k9XfQ", nullptr);
        QCOMPARE(EndpointHarness::reencoded(balance),
                 EndpointHarness::canonical(h.fixture("credits_balance.json")));

        h.answer(QStringLiteral("user_level.json"));
        const UserLevelResponse level = h.await(api.level("user_2k9XfQ"));
        COMPARE_REQUEST(h.request(), "GET", "/api/gamification/level/user_2k9XfQ", nullptr);
        QCOMPARE(EndpointHarness::reencoded(level), EndpointHarness::canonical(h.fixture("user_level.json")));
    }

    void rewardsCatalogueAndPurchases() {
        EndpointHarness h;
        const GamificationAPI api(h.client());
        h.answer(QStringLiteral("rewards_catalog.json"));
        const QList<RewardCatalogItem> catalog = h.await(api.catalog());
        COMPARE_REQUEST(h.request(), "GET", "/api/gamification/rewards/catalog", nullptr);
        QCOMPARE(EndpointHarness::reencoded(catalog),
                 EndpointHarness::canonical(h.fixture("rewards_catalog.json")));
        QCOMPARE(catalog[0].kind(), RewardKind::song);

        h.answer(QStringLiteral("purchased_rewards.json"));
        const QList<UserRewardItem> purchased = h.await(api.purchasedRewards("user_2k9XfQ"));
        COMPARE_REQUEST(h.request(), "GET", "/api/gamification/rewards/user_2k9XfQ/purchased", nullptr);
        QCOMPARE(EndpointHarness::reencoded(purchased),
                 EndpointHarness::canonical(h.fixture("purchased_rewards.json")));
        QCOMPARE(purchased[1].kind(), RewardKind::mnemonic);

        const QByteArray bought = R"({"success":true,"user_reward_id":"ur_57","credits_remaining":32})";
        h.answerJson(bought);
        const PurchaseRewardResponse purchase =
            h.await(api.purchase({QStringLiteral("user_2k9XfQ"), QStringLiteral("rw_song")}));
        COMPARE_REQUEST(h.request(), "POST", "/api/gamification/rewards/purchase",
                        R"({"user_id":"user_2k9XfQ","reward_id":"rw_song"})");
        QCOMPARE(EndpointHarness::reencoded(purchase), EndpointHarness::canonical(bought));
    }

    void makingAStudySongFollowsTheQueuedJob() {
        EndpointHarness h;
        h.answerJson(R"({"job_id":"job_song_4","status":"queued","job_type":"song_generation"})");
        h.answerJson(R"({"job_id":"job_song_4","user_id":"user_2k9XfQ","job_type":"song_generation",
                         "status":"queued","created_at":"2026-02-12T12:00:00Z"})");
        h.answerJson(R"({"job_id":"job_song_4","user_id":"user_2k9XfQ","job_type":"song_generation",
                         "status":"complete","created_at":"2026-02-12T12:00:00Z","result":)" +
                     h.fixture("song_result.json") + "}");
        UseSongRewardRequest request{QStringLiteral("user_2k9XfQ"), QStringLiteral("ur_57"),
                                     QStringLiteral("doc_9f2c")};
        request.genre = QStringLiteral("hip hop");
        const SongGenerationResult song = h.await(GamificationAPI(h.client()).makeSong(request));
        COMPARE_REQUEST(
            h.request(0), "POST", "/api/gamification/rewards/use/song-from-notes",
            R"({"user_id":"user_2k9XfQ","user_reward_id":"ur_57","document_id":"doc_9f2c","genre":"hip hop"})");
        COMPARE_REQUEST(h.request(2), "GET", "/api/jobs/job_song_4", nullptr);
        QCOMPARE(h.waits, QList<async::Clock::Duration>{2s});
        QCOMPARE(EndpointHarness::reencoded(song), EndpointHarness::canonical(h.fixture("song_result.json")));
    }

    void calendarFeed() {
        EndpointHarness h;
        const CalendarAPI api(h.client());
        h.answer(QStringLiteral("calendar_feed.json"));
        const CalendarFeedResponse feed = h.await(api.issueFeed());
        COMPARE_REQUEST(h.request(), "POST", "/api/calendar/feed/issue", "{}");
        QCOMPARE(EndpointHarness::reencoded(feed),
                 EndpointHarness::canonical(h.fixture("calendar_feed.json")));

        h.answerJson(R"({"revoked":true})");
        QCOMPARE(h.await(api.revokeFeed()).revoked, true);
        COMPARE_REQUEST(h.request(), "POST", "/api/calendar/feed/revoke", "{}");

        h.answer(QStringLiteral("calendar_preview.json"));
        const CalendarPreviewResponse preview = h.await(api.preview());
        COMPARE_REQUEST(h.request(), "GET", "/api/calendar/preview", nullptr);
        QCOMPARE(EndpointHarness::reencoded(preview),
                 EndpointHarness::canonical(h.fixture("calendar_preview.json")));
    }

    void schoolDirectoryVisibility() {
        EndpointHarness h;
        const NetworkDirectoryAPI api(h.client());
        h.answerJson(R"({"is_school_discoverable":false,"has_university":true})");
        const DiscoverabilityStatusResponse status = h.await(api.discoverability());
        COMPARE_REQUEST(h.request(), "GET", "/api/network/discoverability", nullptr);
        QVERIFY(!status.isSchoolDiscoverable);
        QVERIFY(status.hasUniversity);

        h.answerJson(R"({"is_school_discoverable":true})");
        QVERIFY(h.await(api.setDiscoverability(true)).isSchoolDiscoverable);
        COMPARE_REQUEST(h.request(), "POST", "/api/network/discoverability", R"({"enabled":true})");
    }
};

QTEST_GUILESS_MAIN(InboxAndRewardEndpointsTest)
#include "tst_InboxAndRewardEndpoints.moc"
