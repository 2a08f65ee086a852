// The manager over a private session bus: the real agent (in this process, on a connection of its
// own) takes what the manager schedules, an absent agent is a clear error, and authorization follows
// python3-dbusmock's notification server as it comes and goes.
#include <QtTest>

#include "DBusNotifierClient.h"
#include "FakeNotifierClient.h"
#include "FakeTokenKeyring.h"
#include "InMemoryPreferences.h"
#include "NotificationError.h"
#include "NotificationManager.h"
#include "NotifierAgent.h"
#include "PrivateSessionBus.h"
#include "TaskProbe.h"

#include <QDBusMessage>
#include <QTemporaryDir>

using Status = NotificationManager::AuthorizationStatus;

class NotifierConnectionTest : public QObject {
    Q_OBJECT

    std::unique_ptr<async::VirtualClock> clock;
    std::unique_ptr<async::ScopedClock> useClock;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<PrivateSessionBus> bus;
    InMemoryPreferences preferences;

    std::unique_ptr<NotificationManager> makeManager() {
        const QDBusConnection app = bus->connect(QStringLiteral("app"));
        return std::make_unique<NotificationManager>(std::make_shared<DBusNotifierClient>(app), app,
                                                     preferences);
    }
    std::unique_ptr<NotifierAgent> startAgent() {
        auto push = std::make_unique<PushService>(PushStore(dir->filePath("push.json")),
                                                  std::make_unique<FakeTokenKeyring>());
        auto agent = std::make_unique<NotifierAgent>(bus->connect(QStringLiteral("agent")),
                                                     PendingStore(dir->filePath("pending.json")),
                                                     std::move(push), QTimeZone::utc());
        return agent->start() ? std::move(agent) : nullptr;
    }

private Q_SLOTS:
    void init() {
        clock = std::make_unique<async::VirtualClock>(QDateTime(QDate(2026, 5, 4), QTime(8, 0), Qt::UTC));
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

    // What the manager asks for is what the agent keeps: one daily 09:00 reminder with the quiz
    // link for the defaults switched on, the focus alert beside it, and each gone by its prefix.
    void theAgentKeepsWhatIsScheduled() {
        auto agent = startAgent();
        QVERIFY(agent);
        auto manager = makeManager();
        const QDateTime end = clock->now().addSecs(1500);
        TaskProbe<void> focus(
            manager->scheduleFocusTimerNotification("Focus interval done", "Time for a break.", end));
        QTRY_VERIFY(focus.done());
        QVERIFY(focus.succeeded());
        TaskProbe<void> scheduled(
            manager->scheduleStudyReminders({true, {StudyReminderPreferences::Time(9, 0)}}));
        QTRY_VERIFY(scheduled.done());
        QVERIFY(scheduled.succeeded());

        const QList<NotificationRequest> kept = agent->scheduler().pending();
        QCOMPARE(kept.size(), 2);
        QVERIFY(kept.at(0).id.startsWith("pomodoro-"));
        QCOMPARE(kept.at(0).due, end);
        QCOMPARE(kept.at(1).id, QStringLiteral("study-reminder-09-00"));
        QCOMPARE(kept.at(1).deepLink(), QStringLiteral("quiz-auto-start"));
        QCOMPARE(kept.at(1).due, QDateTime(QDate(2026, 5, 4), QTime(9, 0), Qt::UTC));

        TaskProbe<QList<LocalNotificationRequest>> listed(manager->pendingStudyReminders());
        QTRY_VERIFY(listed.done());
        QCOMPARE(listed.value().size(), 1);
        const LocalNotificationRequest reminder = listed.value().first();
        QCOMPARE(reminder.title, QStringLiteral("Time to study"));
        QCOMPARE(reminder.body, QStringLiteral("Take a quick quiz from your library."));
        QCOMPARE(reminder.userInfo.value("deepLink").toString(), QStringLiteral("quiz-auto-start"));
        QCOMPARE(reminder.dailyTime, StudyReminderPreferences::Time(9, 0));
        QCOMPARE(reminder.nextFireDate, QDateTime(QDate(2026, 5, 4), QTime(9, 0), Qt::UTC));

        TaskProbe<void> cancelled(manager->cancelFocusTimerNotifications());
        QTRY_VERIFY(cancelled.done());
        QCOMPARE(agent->scheduler().pending().size(), 1);
        TaskProbe<void> off(manager->scheduleStudyReminders({false, {StudyReminderPreferences::Time(9, 0)}}));
        QTRY_VERIFY(off.done());
        QVERIFY(agent->scheduler().pending().isEmpty());
    }

    // Without an agent on the bus (none installed, none to activate) scheduling fails with a
    // sentence that says so, and asking again fails the same way.
    void anAbsentAgentIsAnError() {
        auto manager = makeManager();
        for (int attempt = 0; attempt < 2; ++attempt) {
            TaskProbe<void> scheduled(
                manager->scheduleStudyReminders({true, {StudyReminderPreferences::Time(9, 0)}}));
            QTRY_VERIFY(scheduled.done());
            const NotificationError error = scheduled.error<NotificationError>();
            QCOMPARE(error.kind(), NotificationError::Kind::agentUnavailable);
            QVERIFY2(error.message().startsWith(
                         "Orbelo's notification service (orbelo-notifier) is not available: "),
                     error.what());
        }
    }

    // Denied while no server owns org.freedesktop.Notifications, authorized once one does, and
    // denied again when it goes, each change signalled.
    void authorizationFollowsTheNotificationServer() {
        auto manager = makeManager();
        TaskProbe<Status> first(manager->currentAuthorizationStatus());
        QTRY_VERIFY(first.done());
        QCOMPARE(first.value(), Status::denied);
        QSignalSpy changed(manager.get(), &NotificationManager::authorizationStatusChanged);

        QVERIFY(bus->startNotificationServer());
        QTRY_COMPARE(manager->authorizationStatus(), Status::authorized);
        QCOMPARE(changed.size(), 1);
        TaskProbe<bool> granted(manager->requestAuthorization());
        QTRY_VERIFY(granted.done());
        QVERIFY(granted.value());

        bus->stopNotificationServer();
        QTRY_COMPARE(manager->authorizationStatus(), Status::denied);
        QCOMPARE(changed.size(), 2);
    }

    // Authorized, the registration check announces the agent's device token, or the keyring's refusal
    // as a failure; the agent's PushReceived signal reaches the app by its well-known name.
    void remotePushRegistrationAndArrivals() {
        const QDBusConnection app = bus->connect(QStringLiteral("app"));
        auto agent = std::make_shared<FakeNotifierClient>();
        NotificationManager manager(agent, app, preferences);
        QStringList posted;
        connect(&manager, &NotificationManager::pushTokenRegistered,
                [&posted](const QString& token) { posted << "registered " + token; });
        connect(&manager, &NotificationManager::pushRegistrationFailed,
                [&posted](const QString& message) { posted << "failed " + message; });

        QVERIFY(bus->startNotificationServer());
        QTRY_COMPARE(manager.authorizationStatus(), Status::authorized);
        manager.runRegistrationCheck();
        QTRY_COMPARE(posted, QStringList{"registered " + agent->token});
        agent->token.clear();
        manager.runRegistrationCheck();
        QTRY_COMPARE(posted.size(), 2);
        QCOMPARE(posted.last(), QStringLiteral("failed the keyring is locked"));

        QDBusConnection agentBus = bus->connect(QStringLiteral("agent"));
        QVERIFY(agentBus.registerService(DBusNotifierClient::serviceName));
        QSignalSpy arrived(&manager, &NotificationManager::remoteNotificationReceived);
        QDBusMessage signal =
            QDBusMessage::createSignal(DBusNotifierClient::objectPath, DBusNotifierClient::interfaceName,
                                       QStringLiteral("PushReceived"));
        signal << QStringLiteral("n1");
        QVERIFY(agentBus.send(signal));
        QTRY_COMPARE(arrived.size(), 1);
        QCOMPARE(arrived.first().value(0).toString(), QStringLiteral("n1"));
    }
};

QTEST_MAIN(NotifierConnectionTest)
#include "tst_NotifierConnection.moc"
