// The "Study Reminders" section's model against an agent in memory: changes are saved and
// rescheduled once the user pauses (on the virtual clock), a failure shows its line, the times
// offered, and the notifications-off state.
#include <QtTest>

#include "FakeNotifierClient.h"
#include "InMemoryPreferences.h"
#include "NotificationManager.h"
#include "Settings/StudyRemindersModel.h"
#include "VirtualClock.h"

using namespace std::chrono_literals;

class StudyRemindersTest : public QObject {
    Q_OBJECT

    async::VirtualClock clock;
    std::unique_ptr<async::ScopedClock> useClock;
    std::shared_ptr<FakeNotifierClient> agent;
    std::unique_ptr<InMemoryPreferences> preferences;
    std::unique_ptr<NotificationManager> manager;

    StudyReminderPreferences stored() const { return StudyReminderPreferencesStore(*preferences).load(); }
    QStringList pendingIds() const { return agent->pending.keys(); }

private Q_SLOTS:
    void init() {
        useClock = std::make_unique<async::ScopedClock>(clock);
        agent = std::make_shared<FakeNotifierClient>();
        preferences = std::make_unique<InMemoryPreferences>();
        manager = std::make_unique<NotificationManager>(agent, QDBusConnection(QStringLiteral("none")),
                                                        *preferences);
    }
    void cleanup() {
        manager.reset();
        useClock.reset();
    }

    // Quick changes end in one save and one rescheduling, after the pause and not before.
    void changesAreSavedAndScheduledAfterAPause() {
        StudyRemindersModel model(*manager, *preferences);
        QVERIFY(!model.isEnabled());
        QCOMPARE(
            model.times(),
            (QVariantList{QVariantMap{{"hour", 9}, {"minute", 0}, {"label", "Time 1"}, {"text", "09:00"}}}));

        model.setEnabled(true);
        clock.advance(StudyRemindersModel::savePause - 1ms);
        model.setTime(0, 25, -5);
        clock.advance(StudyRemindersModel::savePause - 1ms);
        QVERIFY(agent->calls.isEmpty());
        QCOMPARE(stored(), StudyReminderPreferences::defaults());

        clock.advance(1ms);
        QTRY_COMPARE(pendingIds(), QStringList{"study-reminder-23-00"});
        QCOMPARE(agent->calls, (QStringList{"RemoveByPrefix study-reminder-", "Add study-reminder-23-00"}));
        QCOMPARE(stored(), (StudyReminderPreferences{true, {StudyReminderPreferences::Time(23, 0)}}));

        model.setEnabled(false);
        clock.advance(StudyRemindersModel::savePause);
        QTRY_VERIFY(pendingIds().isEmpty());
        QVERIFY(!stored().isEnabled);
    }

    // A new time comes an hour after the last (past midnight it wraps), up to six; the last one
    // cannot be removed; a screen closed before the pause still saves and schedules.
    void addingAndRemovingTimes() {
        {
            StudyRemindersModel model(*manager, *preferences);
            model.setEnabled(true);
            model.setTime(0, 22, 30);
            for (int i = 0; i < 7; ++i)
                model.addTime();
            QStringList texts;
            for (const QVariant& row : model.times())
                texts << row.toMap().value("text").toString();
            QCOMPARE(texts, (QStringList{"22:30", "23:30", "00:30", "01:30", "02:30", "03:30"}));
            QVERIFY(!model.canAddTime());
            QCOMPARE(model.times().last().toMap().value("label").toString(), QStringLiteral("Time 6"));

            model.removeTime(1);
            for (int i = 0; i < 6; ++i)
                model.removeTime(0);
            QCOMPARE(model.times().size(), 1);
            QVERIFY(!model.canRemoveTime());
            QCOMPARE(model.times().first().toMap().value("text").toString(), QStringLiteral("03:30"));
        }
        QCOMPARE(stored(), (StudyReminderPreferences{true, {StudyReminderPreferences::Time(3, 30)}}));
        QTRY_COMPARE(pendingIds(), QStringList{"study-reminder-03-30"});
    }

    // A failed rescheduling shows its line; the next one that works clears it.
    void schedulingFailureShowsItsLine() {
        StudyRemindersModel model(*manager, *preferences);
        agent->unavailable = true;
        model.setEnabled(true);
        clock.advance(StudyRemindersModel::savePause);
        QTRY_COMPARE(model.errorMessage(), QStringLiteral("Could not schedule reminders: no agent"));
        QVERIFY(stored().isEnabled); // the choice is kept all the same

        agent->unavailable = false;
        model.addTime();
        clock.advance(StudyRemindersModel::savePause);
        QTRY_COMPARE(model.errorMessage(), QString());
        QCOMPARE(pendingIds(), (QStringList{"study-reminder-09-00", "study-reminder-10-00"}));
    }

    // With no notification server the section says notifications are off; switching Orbelo's
    // notifications off removes the reminders and on again puts them back.
    void notificationsOff() {
        StudyRemindersModel model(*manager, *preferences);
        QTRY_COMPARE(manager->authorizationStatus(), NotificationManager::AuthorizationStatus::denied);
        QCOMPARE(model.notificationsOffMessage(), StudyRemindersModel::notificationsOffText);
        model.setEnabled(true);
        clock.advance(StudyRemindersModel::savePause);
        QTRY_COMPARE(pendingIds(), QStringList{"study-reminder-09-00"});

        QSignalSpy changed(&model, &StudyRemindersModel::changed);
        model.setNotificationsAllowed(false);
        QVERIFY(!changed.isEmpty());
        QCOMPARE(model.notificationsOffMessage(), QString()); // the switch says it
        QTRY_VERIFY(pendingIds().isEmpty());
        model.setNotificationsAllowed(true);
        clock.advance(StudyRemindersModel::savePause);
        QTRY_COMPARE(pendingIds(), QStringList{"study-reminder-09-00"});
    }
};

QTEST_MAIN(StudyRemindersTest)
#include "tst_StudyReminders.moc"
