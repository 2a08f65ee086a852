// The offline banner's source of truth and the once-per-change time-zone report.
#include "Connectivity/NetworkMonitor.h"
#include "FakeNetworkStatus.h"
#include "InMemoryPreferences.h"
#include "ScriptedHttpServer.h"
#include "TaskProbe.h"
#include "User/TimezoneSync.h"

#include <QSignalSpy>
#include <QtTest>

namespace {
async::Task<std::optional<QString>> token() {
    co_return QStringLiteral("t");
}
} // namespace

class ConnectivityTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void onlineUntilThePathSaysOtherwise() {
        auto status = std::make_unique<FakeNetworkStatus>();
        auto* fake = status.get();
        NetworkMonitor monitor(std::move(status));
        QVERIFY(fake->started);
        QVERIFY(monitor.isOnline());
        QSignalSpy changes(&monitor, &NetworkMonitor::isOnlineChanged);
        fake->report(true); // no change, no notification
        fake->report(false);
        fake->report(false);
        QVERIFY(!monitor.isOnline());
        fake->report(true);
        QVERIFY(monitor.isOnline());
        QCOMPARE(changes.count(), 2);
    }

    void eachUserHasTheZoneReportedOnce() {
        ScriptedHttpServer server;
        server.setHandler(
            [](const RecordedRequest&) { return ScriptedResponse::json(200, R"({"status":"ok"})"); });
        const APIClient api(server.baseUrl(), token);
        InMemoryPreferences defaults;
        const auto sync = [&](std::optional<QString> user, QString zone) {
            TaskProbe<void> probe(TimezoneSync::syncIfNeeded(api, user, defaults, zone));
            QTRY_VERIFY(probe.done());
            QVERIFY(probe.succeeded());
        };

        sync(QStringLiteral("user_a"), QStringLiteral("Europe/Paris"));
        sync(QStringLiteral("user_a"), QStringLiteral("Europe/Paris")); // unchanged: no request
        QCOMPARE(server.requestCount(), 1);
        QCOMPARE(server.requests()[0].method, QByteArray("PATCH"));
        QCOMPARE(server.requests()[0].path, QByteArray("/api/user/timezone"));
        QCOMPARE(server.requests()[0].body, QByteArray(R"({"timezone":"Europe/Paris"})"));

        sync(QStringLiteral("user_b"), QStringLiteral("Europe/Paris")); // another user: reported again
        sync(std::nullopt, QStringLiteral("America/Chicago"));
        sync(QString(), QStringLiteral("America/Chicago")); // an empty id shares the anonymous key
        sync(QStringLiteral("user_a"), QString());          // no zone: nothing to say
        QCOMPARE(server.requestCount(), 3);
        QCOMPARE(defaults.string(QStringLiteral("orbelo.syncedTimezone.user_b")),
                 QStringLiteral("Europe/Paris"));
        QCOMPARE(defaults.string(QStringLiteral("orbelo.syncedTimezone")), QStringLiteral("America/Chicago"));
    }

    void aFailedReportIsRetriedNextTime() {
        ScriptedHttpServer server;
        server.enqueue(ScriptedResponse::json(500, "down"));
        server.enqueue(ScriptedResponse::json(200, "{}"));
        const APIClient api(server.baseUrl(), token);
        InMemoryPreferences defaults;
        const QString key = TimezoneSync::storageKey(QStringLiteral("u"));
        for (int run = 0; run < 2; ++run) {
            TaskProbe<void> probe(
                TimezoneSync::syncIfNeeded(api, QStringLiteral("u"), defaults, QStringLiteral("Asia/Tokyo")));
            QTRY_VERIFY(probe.done());
            QVERIFY(probe.succeeded()); // never throws
            QCOMPARE(defaults.contains(key), run == 1);
        }
        QCOMPARE(server.requestCount(), 2);
    }
};

QTEST_GUILESS_MAIN(ConnectivityTest)
#include "tst_Connectivity.moc"
