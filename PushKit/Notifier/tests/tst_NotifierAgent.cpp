// The agent on a private session bus, against python3-dbusmock's notification server: its D-Bus
// interface, what it asks the server to show, a click opening Orbelo, a server that comes late,
// one agent per bus, and leaving when idle. Time is virtual in-process; the cases about the
// executable wait only for D-Bus events.
#include <QtTest>

#include "FakeTokenKeyring.h"
#include "NotifierAgent.h"
#include "PrivateSessionBus.h"
#include "RecordingApp.h"
#include "VirtualClock.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QTemporaryDir>

using namespace std::chrono_literals;

namespace {

QDateTime utc(const char* text) {
    return QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate).toUTC();
}

const QVariantMap quizLink{{"deepLink", "quiz-auto-start"}};

QVariantMap dailyAt(int hour, int minute) {
    return {{"type", "daily"}, {"hour", hour}, {"minute", minute}};
}

QVariantMap onceAt(const QDateTime& at) {
    return {{"type", "interval"}, {"fireTime", at.toMSecsSinceEpoch()}};
}

// A process's state letter from /proc (Z: ended, not yet reaped by its parent).
char processState(uint pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 'X';
    const QByteArray line = stat.readAll();
    const qsizetype at = line.lastIndexOf(')') + 2;
    return at > 1 && at < line.size() ? line.at(at) : 'X';
}

} // namespace

class NotifierAgentTest : public QObject {
    Q_OBJECT

    std::unique_ptr<async::VirtualClock> clock;
    std::unique_ptr<async::ScopedClock> useClock;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<PrivateSessionBus> bus;
    int connections = 0;

    // The agent on a connection of its own; the test calls it from another, as the app would.
    std::unique_ptr<NotifierAgent> makeAgent() {
        auto push = std::make_unique<PushService>(PushStore(dir->filePath("push.json")),
                                                  std::make_unique<FakeTokenKeyring>());
        return std::make_unique<NotifierAgent>(bus->connect(QStringLiteral("agent%1").arg(++connections)),
                                               PendingStore(dir->filePath("pending.json")), std::move(push),
                                               QTimeZone::utc());
    }
    QDBusMessage call(const QString& method, const QVariantList& arguments = {}) {
        QDBusMessage message = QDBusMessage::createMethodCall(
            NotifierAgent::serviceName, NotifierAgent::objectPath, "com.orbelo.desktop.Notifier", method);
        message.setArguments(arguments);
        // The agent answers on this thread: the call must keep the event loop running.
        return bus->connect("app").call(message, QDBus::BlockWithGui);
    }
    QDBusMessage add(const QString& id, const QVariantMap& trigger, const QVariantMap& userInfo = quizLink) {
        return call("Add", {id, "Time to study", "Take a quick quiz from your library.", "default", userInfo,
                            trigger});
    }

private Q_SLOTS:
    void init() {
        clock = std::make_unique<async::VirtualClock>(utc("2026-05-04T08:00:00Z"));
        useClock = std::make_unique<async::ScopedClock>(*clock);
        dir = std::make_unique<QTemporaryDir>();
        bus = std::make_unique<PrivateSessionBus>();
        QVERIFY(!bus->address().isEmpty());
    }
    void cleanup() {
        bus.reset();
        useClock.reset();
        clock.reset();
    }

    // Add, replace, list and remove as the app does; bad arguments come back as D-Bus errors.
    void theInterface() {
        auto agent = makeAgent();
        QVERIFY(agent->start());
        QCOMPARE(add("study-reminder-09-00", dailyAt(9, 0)).type(), QDBusMessage::ReplyMessage);
        QCOMPARE(add("study-reminder-18-30", dailyAt(18, 30)).type(), QDBusMessage::ReplyMessage);
        QCOMPARE(add("pomodoro-1", onceAt(utc("2026-05-04T08:25:00Z")), {}).type(),
                 QDBusMessage::ReplyMessage);
        add("study-reminder-09-00", dailyAt(9, 0), {{"deepLink", "elsewhere"}});

        const QDBusMessage listed = call("ListPending");
        QCOMPARE(listed.signature(), QStringLiteral("aa{sv}"));
        QList<QVariantMap> pending;
        const QDBusArgument list = listed.arguments().first().value<QDBusArgument>();
        list >> pending;
        QCOMPARE(pending.size(), 3);
        const QVariantMap reminder = pending.at(1);
        QCOMPARE(reminder.value("id").toString(), "study-reminder-09-00");
        QCOMPARE(reminder.value("title").toString(), "Time to study");
        QCOMPARE(reminder.value("soundName").toString(), "message-new-instant");
        QCOMPARE(reminder.value("nextFireTime").toLongLong(),
                 utc("2026-05-04T09:00:00Z").toMSecsSinceEpoch());
        const QVariantMap trigger = qdbus_cast<QVariantMap>(reminder.value("trigger"));
        QCOMPARE(trigger.value("type").toString(), "daily");
        QCOMPARE(trigger.value("hour").toInt(), 9);
        QCOMPARE(qdbus_cast<QVariantMap>(reminder.value("userInfo")).value("deepLink").toString(),
                 "elsewhere");

        QCOMPARE(call("RemoveByPrefix", {"study-reminder-"}).arguments().value(0).toUInt(), 2u);
        QCOMPARE(call("RemoveByIds", {QStringList{"pomodoro-1", "pomodoro-2"}}).arguments().value(0).toUInt(),
                 1u);

        const QDBusMessage refused = add("study-reminder-25-00", dailyAt(25, 0));
        QCOMPARE(refused.errorName(), "com.orbelo.desktop.Notifier.Error.InvalidArgument");
        QVERIFY2(refused.errorMessage().contains("hour from 0 to 23"), qPrintable(refused.errorMessage()));
        for (int i = 0; i < NotifierAgent::maxPending; ++i)
            add(QStringLiteral("pomodoro-%1").arg(i), onceAt(utc("2026-05-05T00:00:00Z")));
        QCOMPARE(add("one-too-many", dailyAt(9, 0)).errorName(),
                 "com.orbelo.desktop.Notifier.Error.LimitExceeded");
        QCOMPARE(add("pomodoro-0", dailyAt(9, 0)).type(), QDBusMessage::ReplyMessage); // a replacement
    }

    // A due request goes to the server as Orbelo's, with the sound and the "Open" default action;
    // a click on it starts the app with the deep link, and the agent stays while it can be clicked.
    void showsAndOpens() {
        QVERIFY(bus->startNotificationServer());
        const QString recorded = installRecordingApp(dir->path());
        QVERIFY(!recorded.isEmpty());

        auto agent = makeAgent();
        QVERIFY(agent->start());
        QSignalSpy finished(agent.get(), &NotifierAgent::finished);
        add("study-reminder-09-00", dailyAt(9, 0));
        clock->advanceToNextTimer();
        QTRY_COMPARE(bus->notifyCalls().size(), 1);
        const QVariantList notify = bus->notifyCalls().first();
        QCOMPARE(notify.value(0).toString(), "Orbelo");
        QCOMPARE(notify.value(1).toUInt(), 0u);
        QCOMPARE(notify.value(2).toString(), "com.orbelo.desktop");
        QCOMPARE(notify.value(3).toString(), "Time to study");
        QCOMPARE(notify.value(4).toString(), "Take a quick quiz from your library.");
        QCOMPARE(qdbus_cast<QStringList>(notify.value(5)), QStringList({"default", "Open"}));
        const QVariantMap hints = qdbus_cast<QVariantMap>(notify.value(6));
        QCOMPARE(hints.value("sound-name").toString(), "message-new-instant");
        QCOMPARE(hints.value("desktop-entry").toString(), "com.orbelo.desktop");
        QCOMPARE(notify.value(7).toInt(), -1);

        // Another application's notification, and an action we did not offer, open nothing.
        bus->invokeAction(7, "default");
        bus->invokeAction(1, "snooze");
        bus->invokeAction(1, "default");
        QTRY_VERIFY(QFile::exists(recorded));
        QFile arguments(recorded);
        QVERIFY(arguments.open(QIODevice::ReadOnly));
        QCOMPARE(arguments.readAll(), QByteArray("--deep-link\nquiz-auto-start\n"));

        // Nothing pending and the notification closed: the agent leaves after the grace period.
        call("RemoveByIds", {QStringList{"study-reminder-09-00"}});
        clock->advance(NotifierAgent::idleGrace);
        QCOMPARE(finished.size(), 0);
        bus->closeNotification(1);
        QTRY_COMPARE(clock->pendingTimers(), 1);
        clock->advance(NotifierAgent::idleGrace);
        QCOMPARE(finished.size(), 1);
        qunsetenv("ORBELO_APP");
    }

    // No notification server yet: the due request stays, and goes out once one appears. When the
    // server goes, nothing shown can be clicked any more, and the agent may leave.
    void waitsForANotificationServer() {
        auto agent = makeAgent();
        QVERIFY(agent->start());
        QSignalSpy finished(agent.get(), &NotifierAgent::finished);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("could not show pomodoro-1, keeping it"));
        add("pomodoro-1", onceAt(clock->now()), {});
        QTRY_VERIFY(PendingStore(dir->filePath("pending.json")).load().value(0).undelivered);
        QCOMPARE(agent->scheduler().count(), 1);

        QVERIFY(bus->startNotificationServer());
        QTRY_COMPARE(agent->scheduler().count(), 0);
        QCOMPARE(bus->notifyCalls().size(), 1);
        QCOMPARE(bus->notifyCalls().first().value(3).toString(), "Time to study");
        clock->advance(NotifierAgent::idleGrace);
        QCOMPARE(finished.size(), 0);

        bus->stopNotificationServer();
        QTRY_COMPARE(clock->pendingTimers(), 1);
        clock->advance(NotifierAgent::idleGrace);
        QCOMPARE(finished.size(), 1);
    }

    // One agent per bus; an idle one leaves after the grace period, and a call restarts it.
    void oneAgentAndIdleExit() {
        auto agent = makeAgent();
        QVERIFY(agent->start());
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("another orbelo-notifier owns"));
        QVERIFY(!makeAgent()->start());

        QSignalSpy finished(agent.get(), &NotifierAgent::finished);
        clock->advance(NotifierAgent::idleGrace - 1s);
        call("ListPending");
        clock->advance(NotifierAgent::idleGrace - 1s);
        QCOMPARE(finished.size(), 0);
        clock->advance(1s);
        QCOMPARE(finished.size(), 1);
        QVERIFY(!bus->connect("app").interface()->isServiceRegistered(NotifierAgent::serviceName));
    }

    // The executable, started by D-Bus activation as scripts/register-notifier sets it up: a call
    // brings it up, its clock runs as far ahead as the environment says, and a second one started
    // by hand exits at once.
    void theExecutable() {
        QTemporaryDir home;
        QProcess registration;
        registration.setProcessEnvironment([&home] {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert("XDG_DATA_HOME", home.path());
            return environment;
        }());
        registration.start(REGISTER_NOTIFIER, {NOTIFIER_BINARY, "/nonexistent/orbelo"});
        QVERIFY(registration.waitForFinished(20000));
        QCOMPARE(registration.exitCode(), 0);
        const QString services = home.filePath("dbus-1/services");
        QVERIFY(QFile::exists(services + "/com.orbelo.desktop.Notifier.service"));
        qputenv("XDG_DATA_HOME", dir->path().toUtf8());
        qputenv("ORBELO_NOTIFIER_CLOCK_OFFSET_SECONDS", "86400");
        bus = std::make_unique<PrivateSessionBus>(services); // the activated agent inherits the above
        qunsetenv("ORBELO_NOTIFIER_CLOCK_OFFSET_SECONDS");
        qunsetenv("XDG_DATA_HOME");
        QVERIFY(bus->startNotificationServer());

        // An hour from now is long past for an agent a day ahead.
        const QDateTime inAnHour = QDateTime::currentDateTimeUtc().addSecs(3600);
        const QDBusMessage added = add("pomodoro-1", onceAt(inAnHour), {});
        QVERIFY2(added.type() == QDBusMessage::ReplyMessage, qPrintable(added.errorMessage()));
        QTRY_COMPARE_WITH_TIMEOUT(bus->notifyCalls().size(), 1, 20000);
        // A click with no app where ORBELO_APP says: logged, and the agent carries on.
        bus->invokeAction(1, "default");
        add("study-reminder-09-00", dailyAt(9, 0));
        QTRY_VERIFY(QFile::exists(dir->filePath("orbelo/notifier/pending.json")));

        QProcess second;
        second.setProcessEnvironment(bus->environment());
        second.setProcessChannelMode(QProcess::MergedChannels);
        second.start(NOTIFIER_BINARY, QStringList());
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(second.readAll().contains("another orbelo-notifier owns com.orbelo.desktop.Notifier"));
        QCOMPARE(call("RemoveByPrefix", {""}).arguments().value(0).toUInt(), 1u);

        // The session ends: the agent goes with it.
        const uint pid = bus->connect("app").interface()->servicePid(NotifierAgent::serviceName);
        QVERIFY(pid > 0);
        bus.reset();
        QTRY_VERIFY_WITH_TIMEOUT(
            !QFile::exists(QStringLiteral("/proc/%1/cmdline").arg(pid)) || processState(pid) == 'Z', 20000);
    }
};

QTEST_GUILESS_MAIN(NotifierAgentTest)
#include "tst_NotifierAgent.moc"
