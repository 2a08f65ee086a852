// Telemetry: development instances only, identical events throttled, batches posted as JSON.
#include <QtTest>

#include "InMemoryPreferences.h"
#include "Json.h"
#include "ScriptedHttpServer.h"
#include "TelemetryCollector.h"
#include "VirtualClock.h"

using namespace std::chrono_literals;

class ClerkTelemetryTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void developmentEventsAreThrottledBatchedAndPosted() {
        async::VirtualClock clock;
        async::ScopedClock useClock(clock);
        ScriptedHttpServer server;
        server.setHandler([](const RecordedRequest&) { return ScriptedResponse::json(200, "{}"); });
        InMemoryPreferences preferences;
        QStringList logs;
        TelemetryCollector telemetry(
            true, server.baseUrl(), QStringLiteral("pk_test_x"), preferences,
            ClerkLogger(LogLevel::verbose, [&](LogLevel, const QString& m) { logs << m; }));
        const TelemetryCollector::Event load{QStringLiteral("METHOD_CALLED"), {{"method", "load"}}};
        const TelemetryCollector::Event other{QStringLiteral("METHOD_CALLED"), {{"method", "signOut"}}};
        telemetry.record(load);
        telemetry.record(load);
        telemetry.record(other);
        QCOMPARE(logs, (QStringList{"Telemetry event METHOD_CALLED accepted",
                                    "Telemetry event METHOD_CALLED throttled",
                                    "Telemetry event METHOD_CALLED accepted"}));
        QVERIFY(preferences.contains(TelemetryCollector::throttlerKey));
        QCOMPARE(telemetry.bufferedCount(), 2);

        clock.advance(TelemetryCollector::flushInterval);
        QVERIFY(QTest::qWaitFor([&] { return server.requestCount() == 1; }, 20'000));
        const RecordedRequest posted = server.requests().at(0);
        QCOMPARE(posted.method, QByteArray("POST"));
        QCOMPARE(posted.path, QByteArray("/v1/event"));
        QCOMPARE(posted.header("Content-Type"), QByteArray("application/json"));
        const QJsonArray events = json::parse(posted.body).toObject().value("events").toArray();
        QCOMPARE(events.size(), 2);
        QCOMPARE(events.at(1).toObject().value("payload").toObject().value("method").toString(),
                 QStringLiteral("signOut"));
        QCOMPARE(events.at(0).toObject().value("sdkv").toString(), QStringLiteral("1.2.1"));

        // The throttle forgets an event after its lifetime.
        clock.advance(TelemetryCollector::throttleLifetime);
        telemetry.record(load);
        QCOMPARE(logs.last(), QStringLiteral("Telemetry event METHOD_CALLED accepted"));
    }

    void productionInstancesSendNothing() {
        InMemoryPreferences preferences;
        TelemetryCollector telemetry(false, QUrl(QStringLiteral("http://127.0.0.1:1")), {}, preferences,
                                     ClerkLogger());
        telemetry.record({QStringLiteral("METHOD_CALLED"), {}});
        QCOMPARE(telemetry.bufferedCount(), 0);
        QVERIFY(!preferences.contains(TelemetryCollector::throttlerKey));
    }
};

QTEST_GUILESS_MAIN(ClerkTelemetryTest)
#include "tst_ClerkTelemetry.moc"
