// When the update banner shows, and what survives a restart.
#include "BundleInfo.h"
#include "InMemoryPreferences.h"
#include "MacUpdateChecker.h"
#include "ScriptedHttpServer.h"
#include "TaskProbe.h"
#include "VirtualClock.h"

#include <QtTest>

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

    void check(MacUpdateChecker& checker) {
        TaskProbe<void> probe(checker.check());
        QTRY_VERIFY(probe.done());
        QVERIFY(probe.succeeded());
    }

private Q_SLOTS:
    void initTestCase() {
        useClock = std::make_unique<async::ScopedClock>(clock);
        BundleInfo::overrideForTesting({{QStringLiteral("CFBundleVersion"), QStringLiteral("41")}});
    }

    void aNewerBuildShowsUntilDismissedThenTheNextOneShowsAgain() {
        ScriptedHttpServer server;
        server.enqueue(ScriptedResponse::json(200, manifest(42)));
        server.enqueue(ScriptedResponse::json(200, manifest(42)));
        server.enqueue(ScriptedResponse::json(200, manifest(43)));
        InMemoryPreferences defaults;
        MacUpdateChecker checker(server.baseUrl(), defaults);
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
        MacUpdateChecker checker(server.baseUrl(), defaults);
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
            MacUpdateChecker first(server.baseUrl(), defaults);
            check(first);
        }
        // A restart while offline: the cached manifest decides without a request.
        MacUpdateChecker checker(
            QUrl(QStringLiteral("http://127.0.0.1:%1/appcast.json").arg(ScriptedHttpServer::closedPort())),
            defaults);
        QVERIFY(checker.hasUpdate());
        check(checker); // cannot connect
        QVERIFY(checker.hasUpdate());

        MacUpdateChecker online(server.baseUrl(), defaults);
        check(online); // 404
        check(online); // does not decode
        QCOMPARE(online.availableUpdate()->latestBuild, 50);
        QCOMPARE(defaults.data(QStringLiteral("mac.update.cachedManifest")), manifest(50));
    }

    void checksAreSpacedADayApart() {
        ScriptedHttpServer server;
        server.setHandler([](const RecordedRequest&) { return ScriptedResponse::json(200, manifest(42)); });
        InMemoryPreferences defaults;
        MacUpdateChecker checker(server.baseUrl(), defaults);
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
};

QTEST_GUILESS_MAIN(UpdateCheckerTest)
#include "tst_UpdateChecker.moc"
