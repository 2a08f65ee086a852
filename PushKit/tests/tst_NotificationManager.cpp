// The notification manager's rules against an agent in memory: what rescheduling study reminders
// leaves pending, the focus timer's one-off alerts, the user's switch, a click's deep link, and the
// stored preferences.
#include <QtTest>

#include "FakeNotifierClient.h"
#include "InMemoryPreferences.h"
#include "NotificationManager.h"
#include "StudyReminderPreferencesStore.h"
#include "TaskProbe.h"

using Time = StudyReminderPreferences::Time;

namespace {

template <class T> bool finish(async::Task<T> task, QString* error = nullptr) {
    TaskProbe<T> probe(std::move(task));
    if (!QTest::qWaitFor([&] { return probe.done(); }))
        return false;
    if (error && !probe.succeeded())
        *error = QString::fromUtf8(probe.template error<NotificationError>().what());
    return probe.succeeded();
}

} // namespace

class NotificationManagerTest : public QObject {
    Q_OBJECT

    async::VirtualClock clock{QDateTime(QDate(2026, 5, 4), QTime(8, 0), Qt::UTC)};
    std::unique_ptr<async::ScopedClock> useClock;
    std::shared_ptr<FakeNotifierClient> agent;
    std::unique_ptr<InMemoryPreferences> preferences;
    std::unique_ptr<NotificationManager> manager;

private Q_SLOTS:
    void init() {
        useClock = std::make_unique<async::ScopedClock>(clock);
        agent = std::make_shared<FakeNotifierClient>();
        preferences = std::make_unique<InMemoryPreferences>();
        // A connection to no bus: no notification server.
        manager = std::make_unique<NotificationManager>(agent, QDBusConnection(QStringLiteral("none")),
                                                        *preferences);
    }
    void cleanup() {
        manager.reset();
        useClock.reset();
    }

    void timesClampAndCompareByValue() {
        const Time late(25, -5);
        QCOMPARE(late.hour(), 23);
        QCOMPARE(late.minute(), 0);
        QCOMPARE(Time(-1, 60), Time(0, 59));
        QCOMPARE(Time(9, 0).identity(), QStringLiteral("09-00"));
        QCOMPARE(Time(18, 5).identity(), QStringLiteral("18-05"));
        QSet<Time> times{Time(9, 0), Time(9, 0), Time(24, 0), Time(23, 0)};
        QCOMPARE(times.size(), 2);
        QCOMPARE(std::hash<Time>()(Time(7, 30)), std::hash<Time>()(Time(7, 30)));
    }

    // Defaults when nothing is stored or it does not decode; what is saved comes back.
    void storedPreferences() {
        StudyReminderPreferencesStore store(*preferences);
        QCOMPARE(store.load(), (StudyReminderPreferences{false, {Time(9, 0)}}));
        const StudyReminderPreferences chosen{true, {Time(7, 15), Time(21, 45)}};
        store.save(chosen);
        QCOMPARE(store.load(), chosen);
        for (const char* stored : {"not json", "[]", R"({"isEnabled":"yes","reminderTimes":[]})",
                                   R"({"isEnabled":true,"reminderTimes":[{"hour":9}]})",
                                   R"({"isEnabled":true,"reminderTimes":[{"hour":9.5,"minute":0}]})"}) {
            preferences->setValue(StudyReminderPreferencesStore::key, QByteArray(stored));
            QVERIFY2(store.load() == StudyReminderPreferences::defaults(), stored);
        }
        // Out-of-range times are clamped as any time is.
        preferences->setValue(StudyReminderPreferencesStore::key,
                              QByteArray(R"({"isEnabled":true,"reminderTimes":[{"hour":30,"minute":-1}]})"));
        QCOMPARE(store.load().reminderTimes, QList<Time>{Time(23, 0)});
    }

    // Enabling the defaults leaves exactly one daily reminder at 09:00 carrying the quiz link;
    // disabling removes them all and adds none; focus alerts survive both.
    void reschedulingReplacesOnlyReminders() {
        QVERIFY(finish(manager->scheduleFocusTimerNotification("Focus interval done", "Time for a break.",
                                                               clock.now().addSecs(25 * 60))));
        agent->pending.insert("study-reminder-07-00", {});
        StudyReminderPreferences preferences = StudyReminderPreferences::defaults();
        preferences.isEnabled = true;
        QVERIFY(finish(manager->scheduleStudyReminders(preferences)));

        QList<LocalNotificationRequest> reminders;
        TaskProbe<QList<LocalNotificationRequest>> listed(manager->pendingStudyReminders());
        QTRY_VERIFY(listed.done());
        reminders = listed.value();
        QCOMPARE(reminders.size(), 1);
        const LocalNotificationRequest& reminder = reminders.first();
        QCOMPARE(reminder.identifier, QStringLiteral("study-reminder-09-00"));
        QCOMPARE(reminder.title, QStringLiteral("Time to study"));
        QCOMPARE(reminder.body, QStringLiteral("Take a quick quiz from your library."));
        QCOMPARE(reminder.userInfo, (QVariantMap{{"deepLink", "quiz-auto-start"}}));
        QCOMPARE(reminder.trigger(), (QVariantMap{{"type", "daily"}, {"hour", 9}, {"minute", 0}}));
        QCOMPARE(agent->pending.size(), 2);

        preferences.reminderTimes = {Time(7, 0), Time(7, 0), Time(19, 30)};
        QVERIFY(finish(manager->scheduleStudyReminders(preferences)));
        QCOMPARE(agent->pending.keys().filter("study-reminder-"),
                 (QStringList{"study-reminder-07-00", "study-reminder-19-30"}));

        preferences.isEnabled = false;
        agent->calls.clear();
        QVERIFY(finish(manager->scheduleStudyReminders(preferences)));
        QCOMPARE(agent->calls, QStringList{"RemoveByPrefix study-reminder-"});
        QCOMPARE(agent->pending.size(), 1);
        QVERIFY(agent->pending.firstKey().startsWith("pomodoro-"));

        // And the other way round: cancelling the focus alerts leaves the reminders.
        preferences.isEnabled = true;
        QVERIFY(finish(manager->scheduleStudyReminders(preferences)));
        QVERIFY(finish(manager->cancelFocusTimerNotifications()));
        QCOMPARE(agent->pending.keys(), (QStringList{"study-reminder-07-00", "study-reminder-19-30"}));
        QVERIFY(finish(manager->cancelStudyReminders()));
        QVERIFY(agent->pending.isEmpty());
    }

    // The first refusal ends the rescheduling with its message; what was added before it stays.
    void schedulingFailures() {
        agent->refusedId = "study-reminder-12-00";
        QString error;
        QVERIFY(
            !finish(manager->scheduleStudyReminders({true, {Time(8, 0), Time(12, 0), Time(16, 0)}}), &error));
        QCOMPARE(error, QStringLiteral("refused study-reminder-12-00"));
        QCOMPARE(agent->pending.keys(), QStringList{"study-reminder-08-00"});

        agent->unavailable = true;
        QVERIFY(!finish(manager->scheduleStudyReminders({true, {Time(8, 0)}}), &error));
        QCOMPARE(error, QStringLiteral("no agent"));
        QVERIFY(!finish(manager->scheduleFocusTimerNotification("t", "b", clock.now().addSecs(60))));
    }

    // A focus alert gets a fresh "pomodoro-" id and fires once at its date; a date that is not in
    // the future schedules nothing.
    void focusTimerAlerts() {
        const QDateTime end = clock.now().addSecs(300);
        QVERIFY(finish(manager->scheduleFocusTimerNotification("Break's over",
                                                               "Ready for another focus interval?", end)));
        QVERIFY(finish(manager->scheduleFocusTimerNotification("Break's over", "Again", end)));
        QCOMPARE(agent->pending.size(), 2);
        const LocalNotificationRequest alert = agent->pending.first();
        QVERIFY(QUuid::fromString(alert.identifier.mid(QStringLiteral("pomodoro-").size())).isNull() ==
                false);
        QCOMPARE(alert.trigger(), (QVariantMap{{"type", "interval"}, {"fireTime", end.toMSecsSinceEpoch()}}));

        agent->calls.clear();
        QVERIFY(finish(manager->scheduleFocusTimerNotification("t", "b", clock.now())));
        QVERIFY(finish(manager->scheduleFocusTimerNotification("t", "b", clock.now().addSecs(-1))));
        QVERIFY(agent->calls.isEmpty());
    }

    // The user's switch: off denies, removes what is pending and keeps new reminders from being
    // added; on again follows the notification server (none here).
    void switchingNotificationsOff() {
        QVERIFY(finish(manager->scheduleStudyReminders({true, {Time(9, 0)}})));
        QVERIFY(finish(manager->scheduleFocusTimerNotification("t", "b", clock.now().addSecs(60))));
        QSignalSpy changed(manager.get(), &NotificationManager::authorizationStatusChanged);
        manager->setNotificationsAllowed(false);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(manager->authorizationStatus(), NotificationManager::AuthorizationStatus::denied);
        QTRY_VERIFY(agent->pending.isEmpty());
        QVERIFY(finish(manager->scheduleStudyReminders({true, {Time(9, 0)}})));
        QVERIFY(finish(manager->scheduleFocusTimerNotification("t", "b", clock.now().addSecs(60))));
        QVERIFY(agent->pending.isEmpty());
        QVERIFY(!preferences->boolValue(NotificationManager::allowedKey, true));

        manager->setNotificationsAllowed(true);
        TaskProbe<bool> granted(manager->requestAuthorization());
        QTRY_VERIFY(granted.done());
        QVERIFY(!granted.value()); // there is no notification server on no bus
    }

    // A click publishes its deep link (text only) and announces it; the same link again is a new
    // request; take() empties it.
    void clickedDeepLinks() {
        QList<QVariant> posted;
        QObject context;
        connect(manager.get(), &NotificationManager::studyReminderTapped, &context,
                [&](const QVariant& link) { posted << link; });
        QSignalSpy changed(manager.get(), &NotificationManager::pendingDeepLinkChanged);

        manager->didReceive({{"deepLink", "quiz-auto-start"}});
        manager->openDeepLink("quiz-auto-start");
        QCOMPARE(manager->pendingDeepLink(), QStringLiteral("quiz-auto-start"));
        QCOMPARE(changed.size(), 2);
        manager->didReceive({{"deepLink", 7}});
        QCOMPARE(manager->pendingDeepLink(), QString());
        manager->openDeepLink("quiz");
        QCOMPARE(posted, (QList<QVariant>{"quiz-auto-start", "quiz-auto-start", QVariant(), "quiz"}));
        QCOMPARE(manager->takePendingDeepLink(), QStringLiteral("quiz"));
        QCOMPARE(manager->pendingDeepLink(), QString());
    }
};

QTEST_MAIN(NotificationManagerTest)
#include "tst_NotificationManager.moc"
