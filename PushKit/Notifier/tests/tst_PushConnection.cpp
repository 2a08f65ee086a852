// The push stream against a scripted server over loopback TLS, with the reconnect waits on a
// virtual clock: what it asks for, what it hands on, and how it reacts to garbage, oversized
// frames, refusals, an untrusted server and the network coming back.
#include <QtTest>

#include "PushConnection.h"
#include "ScriptedPushServer.h"
#include "VirtualClock.h"

#include <QWebSocket>

using namespace std::chrono_literals;

Q_DECLARE_METATYPE(PushMessage)

class PushConnectionTest : public QObject {
    Q_OBJECT

    std::unique_ptr<async::VirtualClock> clock;
    std::unique_ptr<async::ScopedClock> useClock;
    std::unique_ptr<ScriptedPushServer> server;
    // The lowest wait of each step, so the waits are exactly 500 ms, 1 s, 2 s, ...
    ReconnectSchedule lowest{[] { return 0.0; }};

    PushEndpoint endpoint(const QString& certificate = ScriptedPushServer::certificatePem()) const {
        return {server->origin(), certificate, QString(64, 'a')};
    }
    // Waits (on real socket I/O) until the server has seen `count` upgrades.
    bool upgradedTimes(int count) {
        return QTest::qWaitFor([&] { return server->upgrades().size() == count; });
    }
    // Waits until the connection has given up on its stream and scheduled a retry.
    bool waitingToRetry(std::chrono::milliseconds delay) {
        // Connected, the only timer is the 30 s one that resets the schedule.
        return QTest::qWaitFor(
                   [&] { return clock->pendingTimers() == 1 && clock->nextTimerIn() <= delay; }) &&
               clock->nextTimerIn() == delay;
    }

private Q_SLOTS:
    void initTestCase() { qRegisterMetaType<PushMessage>(); }
    void init() {
        clock = std::make_unique<async::VirtualClock>();
        useClock = std::make_unique<async::ScopedClock>(*clock);
        server = std::make_unique<ScriptedPushServer>();
    }
    void cleanup() {
        server.reset();
        useClock.reset();
        clock.reset();
    }

    // The token goes in the Authorization header and the last seq in `after`; old and repeated
    // messages are not handed on; after a drop the stream comes back after the schedule's wait.
    void receivesAndReconnects() {
        PushConnection connection(lowest);
        QSignalSpy received(&connection, &PushConnection::received);
        connection.open(endpoint(), 5);
        QVERIFY(upgradedTimes(1));
        QCOMPARE(server->upgrades().at(0).authorization, "Device " + QByteArray(64, 'a'));
        QCOMPARE(server->upgrades().at(0).url.path(), "/api/mobile/push/stream");
        QCOMPARE(server->upgrades().at(0).url.query(), "after=5");

        server->sendNotification(5, "old", "Old", "seen before the restart");
        server->sendNotification(6, "n-6", "Quiz ready", "Your quiz is ready.");
        server->sendNotification(6, "n-6", "Quiz ready", "Your quiz is ready.");
        server->sendNotification(7, "n-7", "Badge", "You earned a badge.");
        QTRY_COMPARE(received.size(), 2);
        QCOMPARE(received.at(0).at(0).value<PushMessage>().id, "n-6");
        QCOMPARE(received.at(1).at(0).value<PushMessage>().title, "Badge");
        QCOMPARE(connection.lastSeq(), 7);

        server->stream()->close();
        QVERIFY(waitingToRetry(500ms));
        clock->advance(500ms);
        QVERIFY(upgradedTimes(2));
        QCOMPARE(server->upgrades().at(1).url.query(), "after=7");

        // Up for the steady period: the next drop waits the first step again.
        QTRY_COMPARE(clock->nextTimerIn(), ReconnectSchedule::steadyAfter);
        clock->advance(ReconnectSchedule::steadyAfter);
        server->stream()->close();
        QVERIFY(waitingToRetry(500ms));
    }

    // Garbage and an oversized frame are dropped (logged without their content) and the stream
    // reconnects, each time a step later.
    void dropsGarbageAndOversizedFrames() {
        PushConnection connection(lowest);
        QSignalSpy received(&connection, &PushConnection::received);
        connection.open(endpoint(), 0);
        QVERIFY(upgradedTimes(1));

        QTest::ignoreMessage(QtWarningMsg,
                             "dropped a frame that is not a push message from the push stream; reconnecting");
        server->stream()->sendTextMessage("secret-looking garbage");
        QVERIFY(waitingToRetry(500ms));
        clock->advance(500ms);
        QVERIFY(upgradedTimes(2));

        QTest::ignoreMessage(QtWarningMsg,
                             "dropped a frame that is not a push message from the push stream; reconnecting");
        server->stream()->sendTextMessage(R"({"type":"notification","seq":"x"})");
        QVERIFY(waitingToRetry(1s));
        clock->advance(1s);
        QVERIFY(upgradedTimes(3));

        QTest::ignoreMessage(QtWarningMsg, "dropped a push message over 65536 bytes");
        server->stream()->sendTextMessage(QString(PushConnection::maxMessageSize + 1, 'x'));
        QVERIFY(waitingToRetry(2s));
        clock->advance(2s);
        QVERIFY(upgradedTimes(4));

        server->sendNotification(1, "n-1", "Still here", "After all that.");
        QTRY_COMPARE(received.size(), 1);
    }

    // HTTP 401 and close code 4001 stop the stream: refused, and nothing is scheduled.
    void refusals() {
        {
            PushConnection connection(lowest);
            QSignalSpy refused(&connection, &PushConnection::refused);
            server->setRefusing(true);
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("refused this device \\(HTTP 401\\)"));
            connection.open(endpoint(), 0);
            QVERIFY(refused.wait());
            QCOMPARE(server->refusedCount(), 1);
            QVERIFY(!connection.isOpen());
            QCOMPARE(clock->pendingTimers(), 0);
            connection.networkBack();
            QCOMPARE(clock->pendingTimers(), 0);
        }
        server->setRefusing(false);
        PushConnection connection(lowest);
        QSignalSpy refused(&connection, &PushConnection::refused);
        connection.open(endpoint(), 0);
        QVERIFY(upgradedTimes(1));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("refused this device \\(signed out\\)"));
        server->stream()->close(QWebSocketProtocol::CloseCode(PushConnection::signedOutCloseCode),
                                "signed out");
        QVERIFY(refused.wait());
        QVERIFY(!connection.isOpen());
        QCOMPARE(clock->pendingTimers(), 0);
        QCOMPARE(server->upgrades().size(), 1);
    }

    // Without the server's certificate the TLS handshake fails, and the stream keeps retrying on
    // its schedule, the waits doubling; the network coming back retries at once.
    void untrustedServerAndNetworkBack() {
        PushConnection connection(lowest);
        connection.open(endpoint(QString()), 0);
        QVERIFY(waitingToRetry(500ms));
        clock->advance(500ms);
        QVERIFY(waitingToRetry(1s));
        clock->advance(1s);
        QVERIFY(waitingToRetry(2s));
        QCOMPARE(server->upgrades().size(), 0);

        connection.networkBack();
        QVERIFY(waitingToRetry(500ms)); // tried at once, and the schedule started over
        connection.close();
        QCOMPARE(clock->pendingTimers(), 0);
    }
};

QTEST_GUILESS_MAIN(PushConnectionTest)
#include "tst_PushConnection.moc"
