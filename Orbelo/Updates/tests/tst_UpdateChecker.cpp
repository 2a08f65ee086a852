// When the update banner shows, and what survives a restart.
// moc needs a Qt header before <coroutine>.
#include <QtTest>

#include "AppInfo.h"
#include "InMemoryPreferences.h"
#include "ScriptedHttpServer.h"
#include "TaskProbe.h"
#include "Updates/DesktopUpdateChecker.h"
#include "Updates/UpdateBannerModel.h"
#include "VirtualClock.h"

using namespace std::chrono_literals;

namespace {
QByteArray manifest(int build) {
    return QStringLiteral(
               R"({"latestBuild":%1,"shortVersion":"1.%1","downloadURL":"https://orbelo.app/download",)"
               R"("releaseNotes":"Faster review."})")
        .arg(build)
        .toUtf8();
}
} // namespace

class UpdateCheckerTest : public QObject {
    Q_OBJECT

    async::VirtualClock clock;
    std::unique_ptr<async::ScopedClock> useClock;

    void check(DesktopUpdateChecker& checker) {
        TaskProbe<void> probe(checker.check());
        QTRY_VERIFY(probe.done());
        QVERIFY(probe.succeeded());
    }

private Q_SLOTS:
    void initTestCase() {
        useClock = std::make_unique<async::ScopedClock>(clock);
        AppInfo::replace({.buildNumber = QStringLiteral("41")});
    }

    void aNewerBuildShowsUntilDismissedThenTheNextOneShowsAgain() {
        ScriptedHttpServer server;
        server.enqueue(ScriptedResponse::json(200, manifest(42)));
        server.enqueue(ScriptedResponse::json(200, manifest(42)));
        server.enqueue(ScriptedResponse::json(200, manifest(43)));
        InMemoryPreferences defaults;
        DesktopUpdateChecker checker(server.baseUrl(), defaults);
        QVERIFY(!checker.hasUpdate());

        check(checker);
        QVERIFY(checker.hasUpdate());
        QCOMPARE(checker.availableVersion(), QStringLiteral("1.42"));
        QCOMPARE(checker.downloadURL(), QUrl(QStringLiteral("https://orbelo.app/download")));
        checker.dismiss();
        QVERIFY(!checker.hasUpdate());
        check(checker);
        QVERIFY(!checker.hasUpdate()); // 42 was dismissed
        check(checker);
        QCOMPARE(checker.availableUpdate()->latestBuild, 43);
    }

    void theRunningBuildIsNotAnUpdate() {
        ScriptedHttpServer server;
        server.enqueue(ScriptedResponse::json(200, manifest(41)));
        InMemoryPreferences defaults;
        DesktopUpdateChecker checker(server.baseUrl(), defaults);
        check(checker);
        QVERIFY(!checker.hasUpdate());
    }

    void badAnswersKeepTheCachedDecision() {
        ScriptedHttpServer server;
        server.enqueue(ScriptedResponse::json(200, manifest(50)));
        server.enqueue(ScriptedResponse::json(404, manifest(41)));
        server.enqueue(ScriptedResponse::json(200, R"({"latestBuild":"fifty"})"));
        InMemoryPreferences defaults;
        {
            DesktopUpdateChecker first(server.baseUrl(), defaults);
            check(first);
        }
        // A restart while offline: the cached manifest decides without a request.
        DesktopUpdateChecker checker(
            QUrl(QStringLiteral("http://127.0.0.1:%1/appcast.json").arg(ScriptedHttpServer::closedPort())),
            defaults);
        QVERIFY(checker.hasUpdate());
        check(checker); // cannot connect
        QVERIFY(checker.hasUpdate());

        DesktopUpdateChecker online(server.baseUrl(), defaults);
        check(online); // 404
        check(online); // does not decode
        QCOMPARE(online.availableUpdate()->latestBuild, 50);
        QCOMPARE(defaults.data(QStringLiteral("mac.update.cachedManifest")), manifest(50));
    }

    void checksAreSpacedADayApart() {
        ScriptedHttpServer server;
        server.setHandler([](const RecordedRequest&) { return ScriptedResponse::json(200, manifest(42)); });
        InMemoryPreferences defaults;
        DesktopUpdateChecker checker(server.baseUrl(), defaults);
        checker.checkIfDue();
        QTRY_VERIFY(checker.hasUpdate());
        clock.advance(23h);
        checker.checkIfDue();
        clock.advance(1h);
        checker.checkIfDue();
        QTRY_COMPARE(server.requestCount(), 2);
        QTRY_COMPARE(clock.pendingTimers(), 0);
        QCOMPARE(server.requestCount(), 2);
    }

    // The shell checks when it appears and again when the app comes back after a day; "Download"
    // opens the manifest's page and "Later" hides the banner.
    void theBannerChecksOnAppearAndOnReturn() {
        ScriptedHttpServer server;
        server.setHandler([](const RecordedRequest&) { return ScriptedResponse::json(200, manifest(42)); });
        InMemoryPreferences defaults;
        QList<QUrl> opened;
        UpdateBannerModel banner(server.baseUrl(), defaults, [&opened](const QUrl& url) {
            opened << url;
            return true;
        });
        banner.applicationBecameActive(); // the shell is not up yet
        QCOMPARE(server.requestCount(), 0);
        banner.appear();
        QTRY_VERIFY(banner.showsBanner());
        QCOMPARE(banner.availableVersion(), QStringLiteral("1.42"));
        QCOMPARE(banner.releaseNotes(), QStringLiteral("Faster review."));
        QVERIFY(banner.canDismiss());
        banner.download();
        QCOMPARE(opened, QList<QUrl>{QUrl(QStringLiteral("https://orbelo.app/download"))});

        banner.later();
        QVERIFY(!banner.showsBanner());
        QCOMPARE(defaults.integer(QStringLiteral("mac.update.dismissedBuild")), 42);
        banner.download(); // nothing to download any more
        QCOMPARE(opened.size(), 1);

        banner.applicationBecameActive();
        clock.advance(24h);
        banner.applicationBecameActive();
        QTRY_COMPARE(server.requestCount(), 2);
        QTRY_COMPARE(clock.pendingTimers(), 0);
        QVERIFY(!banner.showsBanner());
    }

    // A critical update, or one the running build is too old to skip, has no "Later".
    void criticalUpdatesCannotBePutOff() {
        for (const QByteArray& extra :
             {QByteArray("\"critical\":true"), QByteArray("\"minSupportedBuild\":42")}) {
            ScriptedHttpServer server;
            server.enqueue(ScriptedResponse::json(
                200, "{\"latestBuild\":42,\"downloadURL\":\"https://orbelo.app/download\"," + extra + "}"));
            InMemoryPreferences defaults;
            UpdateBannerModel banner(server.baseUrl(), defaults, [](const QUrl&) { return true; });
            banner.appear();
            QTRY_VERIFY(banner.showsBanner());
            QVERIFY(!banner.canDismiss());
            banner.later();
            QVERIFY(banner.showsBanner());
            QCOMPARE(banner.availableVersion(), QStringLiteral("42"));
        }
    }
};

QTEST_GUILESS_MAIN(UpdateCheckerTest)
#include "tst_UpdateChecker.moc"
