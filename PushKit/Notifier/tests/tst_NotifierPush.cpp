// The agent as the desktop's push client, on a private session bus with python3-dbusmock's
// notification server and a scripted push server over loopback TLS: the token calls, a stream that
// drops and resends, showing and clicking, staying alive while push is on, a restart, refusals and
// StopPush. The keyring is in memory; reconnect waits run on a virtual clock.
#include <QtTest>

#include "FakeTokenKeyring.h"
#include "NotifierAgent.h"
#include "PrivateSessionBus.h"
#include "RecordingApp.h"
#include "ScriptedPushServer.h"
#include "VirtualClock.h"

#include <QDBusMessage>
#include <QTemporaryDir>
#include <QWebSocket>

using namespace std::chrono_literals;

class NotifierPushTest : public QObject {
    Q_OBJECT

    std::unique_ptr<async::VirtualClock> clock;
    std::unique_ptr<async::ScopedClock> useClock;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<PrivateSessionBus> bus;
    std::unique_ptr<ScriptedPushServer> server;
    std::unique_ptr<NotifierAgent> agent;
    FakeTokenKeyring* keyring = nullptr;
    QString storedToken; // carried from one agent to the next, as the real keyring would
    int connections = 0;

    QString pushPath() const { return dir->filePath("push.json"); }
    void startAgent() {
        auto fake = std::make_unique<FakeTokenKeyring>();
        fake->stored = storedToken;
        keyring = fake.get();
        auto push = std::make_unique<PushService>(PushStore(pushPath()), std::move(fake),
                                                  ReconnectSchedule([] { return 0.0; }));
        agent = std::make_unique<NotifierAgent>(bus->connect(QStringLiteral("agent%1").arg(++connections)),
                                                PendingStore(dir->filePath("pending.json")), std::move(push),
                                                QTimeZone::utc());
        QVERIFY(agent->start());
    }
    // As the process would end: the name and the object go with it.
    void stopAgent() {
        storedToken = keyring->stored;
        agent.reset();
        QDBusConnection connection = bus->connect(QStringLiteral("agent%1").arg(connections));
        connection.unregisterObject(NotifierAgent::objectPath);
        connection.unregisterService(NotifierAgent::serviceName);
    }
    QDBusMessage call(const QString& method, const QVariantList& arguments = {}) {
        QDBusMessage message = QDBusMessage::createMethodCall(
            NotifierAgent::serviceName, NotifierAgent::objectPath, "com.orbelo.desktop.Notifier", method);
        message.setArguments(arguments);
        return bus->connect("app").call(message, QDBus::BlockWithGui);
    }
    QString deviceToken() {
        const QDBusMessage reply = call("DeviceToken");
        return reply.type() == QDBusMessage::ReplyMessage ? reply.arguments().value(0).toString() : QString();
    }
    QDBusMessage startPush() {
        return call("StartPush", {server->origin(), ScriptedPushServer::certificatePem()});
    }
    bool upgradedTimes(int count) {
        return QTest::qWaitFor([&] { return server->upgrades().size() == count; });
    }

private Q_SLOTS:
    void init() {
        clock = std::make_unique<async::VirtualClock>();
        useClock = std::make_unique<async::ScopedClock>(*clock);
        dir = std::make_unique<QTemporaryDir>();
        bus = std::make_unique<PrivateSessionBus>();
        QVERIFY(!bus->address().isEmpty());
        server = std::make_unique<ScriptedPushServer>();
        storedToken.clear();
    }
    void cleanup() {
        agent.reset();
        server.reset();
        bus.reset();
        useClock.reset();
        clock.reset();
    }

    // The token is made once and kept; the stream shows each new message once, however often the
    // server resends it, and a click opens its deep link; StopPush deletes the token.
    void pushesEndToEnd() {
        QVERIFY(bus->startNotificationServer());
        const QString recorded = installRecordingApp(dir->path());
        QVERIFY(!recorded.isEmpty());

        startAgent();
        QSignalSpy pushed(agent.get(), &NotifierAgent::PushReceived);
        QSignalSpy finished(agent.get(), &NotifierAgent::finished);
        const QString token = deviceToken();
        QCOMPARE(token.size(), 64);
        QCOMPARE(deviceToken(), token);
        QCOMPARE(keyring->writes, 1);
        QCOMPARE(keyring->stored, token);

        QCOMPARE(startPush().type(), QDBusMessage::ReplyMessage);
        QVERIFY(upgradedTimes(1));
        QCOMPARE(server->upgrades().at(0).authorization, "Device " + token.toLatin1());
        QCOMPARE(server->upgrades().at(0).url.query(), "after=0");
        server->sendNotification(1, "n-1", "Quiz ready", "Your quiz on cells is ready.");
        server->sendNotification(2, "n-2", "Badge earned", "Seven days in a row.");
        QTRY_COMPARE(pushed.size(), 2);

        server->stream()->close();
        QTRY_COMPARE(clock->nextTimerIn(), 500ms);
        clock->advance(500ms);
        QVERIFY(upgradedTimes(2));
        QCOMPARE(server->upgrades().at(1).url.query(), "after=2");
        server->sendNotification(2, "n-2", "Badge earned", "Seven days in a row.");
        server->sendNotification(3, "n-3", "New flashcards", "12 cards from your notes.");
        QTRY_COMPARE(pushed.size(), 3);
        QCOMPARE(bus->notifyCalls().size(), 3);
        QCOMPARE(pushed.at(0).at(0).toString(), "n-1");
        QCOMPARE(pushed.at(2).at(0).toString(), "n-3");
        const QVariantList third = bus->notifyCalls().at(2);
        QCOMPARE(third.value(0).toString(), "Orbelo");
        QCOMPARE(third.value(3).toString(), "New flashcards");
        QCOMPARE(third.value(4).toString(), "12 cards from your notes.");
        QCOMPARE(PushStore(pushPath()).load().value_or(PushSettings{}).lastSeq, 3);

        bus->invokeAction(3, "default");
        QTRY_VERIFY(QFile::exists(recorded));
        QFile arguments(recorded);
        QVERIFY(arguments.open(QIODevice::ReadOnly));
        QCOMPARE(arguments.readAll(), QByteArray("--deep-link\nnotification:n-3\n"));
        qunsetenv("ORBELO_APP");

        // Push on: the agent stays, even with its notifications closed.
        for (uint id : {1u, 2u, 3u})
            bus->closeNotification(id);
        QTRY_COMPARE(agent->scheduler().count(), 0);
        clock->advance(NotifierAgent::idleGrace * 4);
        QCOMPARE(finished.size(), 0);

        QCOMPARE(call("StopPush").type(), QDBusMessage::ReplyMessage);
        QVERIFY(keyring->stored.isEmpty());
        QVERIFY(!QFile::exists(pushPath()));
        QTRY_VERIFY(!server->stream());
        QVERIFY(clock->pendingTimers() >= 1);
        clock->advance(NotifierAgent::idleGrace);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(server->upgrades().size(), 2);
        QVERIFY(deviceToken() != token); // a new one on the next demand
    }

    // After a restart the stream comes back by itself, asking for what the last run had not seen;
    // a sign-out (4001) turns push off until the next StartPush, also across a restart.
    void restartsAndSignsOut() {
        startAgent();
        QCOMPARE(startPush().type(), QDBusMessage::ReplyMessage);
        QVERIFY(upgradedTimes(1));
        server->sendNotification(4, "n-4", "Quiz ready", "Ready.");
        QTRY_COMPARE(PushStore(pushPath()).load().value_or(PushSettings{}).lastSeq, 4);
        stopAgent();

        startAgent();
        QVERIFY(upgradedTimes(2));
        QCOMPARE(server->upgrades().at(1).url.query(), "after=4");
        QCOMPARE(server->upgrades().at(1).authorization, server->upgrades().at(0).authorization);

        QSignalSpy finished(agent.get(), &NotifierAgent::finished);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("refused this device \\(signed out\\)"));
        server->stream()->close(QWebSocketProtocol::CloseCode(PushConnection::signedOutCloseCode),
                                "signed out");
        QTRY_VERIFY(!agent->push().isOn());
        QCOMPARE(clock->pendingTimers(), 1); // the idle countdown, no reconnect
        clock->advance(NotifierAgent::idleGrace);
        QCOMPARE(finished.size(), 1);
        QVERIFY(!keyring->stored.isEmpty()); // kept until StopPush
        stopAgent();

        startAgent();
        QVERIFY(!agent->push().isOn());
        QCOMPARE(startPush().type(), QDBusMessage::ReplyMessage);
        QVERIFY(upgradedTimes(3));
        QCOMPARE(server->upgrades().at(2).url.query(), "after=4");
    }

    // The keyring's failure comes back as the Keyring error; bad StartPush arguments are refused.
    void errors() {
        startAgent();
        keyring->failing = true;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no device token: the keyring is locked"));
        const QDBusMessage refused = call("DeviceToken");
        QCOMPARE(refused.errorName(), "com.orbelo.desktop.Notifier.Error.Keyring");
        QCOMPARE(refused.errorMessage(), "the keyring is locked");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("the keyring is locked"));
        QCOMPARE(call("StopPush").errorName(), "com.orbelo.desktop.Notifier.Error.Keyring");

        const QDBusMessage badOrigin = call("StartPush", {"http://127.0.0.1:1", ""});
        QCOMPARE(badOrigin.errorName(), "com.orbelo.desktop.Notifier.Error.InvalidArgument");
        QVERIFY(!agent->push().isOn());
        QVERIFY(!QFile::exists(pushPath()));

        // Push on but no token to be had: logged, and push is off again.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("push is off: the keyring is locked"));
        QCOMPARE(startPush().type(), QDBusMessage::ReplyMessage);
        QTRY_VERIFY(!agent->push().isOn());
        QCOMPARE(server->upgrades().size(), 0);
    }
};

QTEST_GUILESS_MAIN(NotifierPushTest)
#include "tst_NotifierPush.moc"
