#include <QtTest>

#include "FakeNotifierClient.h"
#include "Focus/FocusNotificationScheduler.h"
#include "Focus/ManagerFocusNotifications.h"
#include "Focus/PomodoroTimer.h"
#include "InMemoryPreferences.h"
#include "NotificationManager.h"
#include "ScriptedClient.h"
#include "ScriptedHttpServer.h"
#include "VirtualClock.h"

#include <QDBusConnection>
#include <QJsonDocument>
#include <QJsonObject>

using namespace std::chrono_literals;

namespace {

// Records what the timer asks of the notification manager, one line per call.
class RecordingScheduler : public FocusNotificationScheduler {
public:
    QStringList calls;
    bool denied = false;

    void schedule(const QString& title, const QString& body, const QDateTime& fireDate) override {
        calls << title + " | " + body + " @ " + fireDate.toUTC().toString(Qt::ISODateWithMs);
    }
    void cancelAll() override { calls << QStringLiteral("cancel"); }
    bool notificationsDenied() const override { return denied; }
    void deny() {
        denied = true;
        Q_EMIT notificationsDeniedChanged();
    }
};

QJsonObject bodyOf(const RecordedRequest& request) {
    return QJsonDocument::fromJson(request.body).object();
}

} // namespace

// The focus timer on a virtual clock that starts on Thursday, January 1, 2026, 09:00 UTC, with
// its study sessions going to a scripted backend.
class FocusTest : public QObject {
    Q_OBJECT

    std::unique_ptr<async::VirtualClock> clock;
    std::unique_ptr<async::ScopedClock> scopedClock;
    std::unique_ptr<ScriptedHttpServer> backend;
    std::unique_ptr<InMemoryPreferences> preferences;
    std::unique_ptr<RecordingScheduler> scheduler;

    std::unique_ptr<PomodoroTimer> makeTimer(const QString& userId = {}, PomodoroConfig config = {}) {
        auto timer = std::make_unique<PomodoroTimer>(scriptedClient(*backend), *preferences, *scheduler,
                                                     QTimeZone::utc(), config);
        if (!userId.isEmpty())
            timer->setUserId(userId);
        return timer;
    }
    // The virtual clock restarted at `local`, a wall-clock time in `zone`.
    void restartClockAt(const QDateTime& local, const QTimeZone& zone) {
        scopedClock.reset();
        clock = std::make_unique<async::VirtualClock>(QDateTime(local.date(), local.time(), zone).toUTC());
        scopedClock = std::make_unique<async::ScopedClock>(*clock);
    }
    QDateTime at(std::chrono::seconds offset) const {
        return QDateTime(QDate(2026, 1, 1), QTime(9, 0), Qt::UTC).addSecs(offset.count());
    }
    QJsonObject stored() const {
        return QJsonDocument::fromJson(preferences->value(PomodoroStore::stateKey).toByteArray()).object();
    }
    void store(const QJsonObject& state) {
        preferences->setValue(PomodoroStore::stateKey, QJsonDocument(state).toJson());
    }

private Q_SLOTS:
    void init() {
        clock = std::make_unique<async::VirtualClock>();
        scopedClock = std::make_unique<async::ScopedClock>(*clock);
        backend = std::make_unique<ScriptedHttpServer>();
        preferences = std::make_unique<InMemoryPreferences>();
        scheduler = std::make_unique<RecordingScheduler>();
    }
    void cleanup() {
        backend.reset();
        scopedClock.reset();
        clock.reset();
    }

    // With four to a long break, the 4th and 8th completed focus intervals lead to a long break,
    // the others to a short one, and a break always leads back to focus.
    void everyFourthFocusIntervalEarnsALongBreak() {
        auto timer = makeTimer({}, PomodoroConfig{1, 1, 2, 4});
        QCOMPARE(timer->summary(), "1 min focus · 1 min break");
        timer->start();
        QStringList breaks;
        for (int done = 1; done <= 8; ++done) {
            clock->advance(60s);
            QCOMPARE(timer->state()->completedWorkIntervals, done);
            breaks << timer->phaseLabel();
            clock->advance(std::chrono::minutes(timer->state()->phase == PomodoroPhase::longBreak ? 2 : 1));
            QCOMPARE(timer->state()->phase, PomodoroPhase::work);
        }
        QCOMPARE(breaks, (QStringList{"Short break", "Short break", "Short break", "Long break",
                                      "Short break", "Short break", "Short break", "Long break"}));
        QCOMPARE(timer->completedToday(), 8);
        QCOMPARE(timer->summary(), "8 completed today · 0/4 to a long break");
        QCOMPARE(backend->requestCount(), 0); // nobody signed in: no study sessions
    }

    // Pausing keeps the time left to the millisecond, across an hour away and a relaunch; the
    // interval then ends exactly that long after resuming.
    void pauseAndResumeKeepTheTimeLeft() {
        auto timer = makeTimer();
        QCOMPARE(timer->remainingText(), "25:00");
        timer->start();
        clock->advance(10min + 400ms);
        QCOMPARE(timer->remainingText(), "15:00"); // 14:59.6, rounded up
        timer->pause();
        QCOMPARE(timer->status(), PomodoroTimer::Paused);
        QCOMPARE(stored().keys(), (QStringList{"completedWorkIntervals", "pausedRemaining", "phase"}));
        QCOMPARE(stored().value("pausedRemaining").toDouble(), 899.6);
        clock->advance(1h);
        QCOMPARE(clock->pendingTimers(), 0); // no tick while paused

        timer = makeTimer();
        QCOMPARE(timer->status(), PomodoroTimer::Paused);
        QCOMPARE(timer->remainingSeconds(), 900);
        timer->resume();
        QCOMPARE(timer->state()->endsAt, clock->now().addMSecs(899'600));
        clock->advance(899'599ms);
        QCOMPARE(timer->phaseLabel(), "Focus");
        QCOMPARE(timer->remainingText(), "00:01");
        clock->advance(1ms);
        QCOMPARE(timer->phaseLabel(), "Short break");
        QCOMPARE(timer->remainingText(), "05:00");
    }

    // The day's count belongs to its day; the state does not, so yesterday's break is still on.
    // A state that cannot be read is no state: the timer is idle.
    void todaysCountAndStoredStates() {
        store({{"phase", "shortBreak"}, {"pausedRemaining", 120}, {"completedWorkIntervals", 3}});
        preferences->setValue(PomodoroStore::completedTodayKey, 5);
        preferences->setValue(PomodoroStore::countDayKey, "2025-12-31");
        auto timer = makeTimer();
        QCOMPARE(timer->phaseLabel(), "Short break");
        QCOMPARE(timer->completedToday(), 0);
        QCOMPARE(timer->summary(), "0 completed today · 3/4 to a long break");

        preferences->setValue(PomodoroStore::countDayKey, "2026-1-1");
        QCOMPARE(makeTimer()->completedToday(), 5);
        QCOMPARE(PomodoroStore::dayKey(QDate(2026, 3, 7)), "2026-3-7");
        QCOMPARE(PomodoroStore::dayKey(QDate(2026, 11, 24)), "2026-11-24");

        // The first completion of a new day starts the count again.
        preferences->setValue(PomodoroStore::countDayKey, "2025-12-31");
        timer = makeTimer();
        timer->resume();
        timer->skip();
        timer->skip();
        QCOMPARE(timer->completedToday(), 1);
        QCOMPARE(preferences->value(PomodoroStore::completedTodayKey).toInt(), 1);
        QCOMPARE(preferences->value(PomodoroStore::countDayKey).toString(), "2026-1-1");

        for (const QByteArray& unreadable :
             {QByteArray("not json"),
              QByteArray(R"({"phase":"nap","pausedRemaining":5,"completedWorkIntervals":0})"),
              QByteArray(R"({"phase":"work","completedWorkIntervals":0})"),
              QByteArray(R"({"phase":"work","endsAt":"2026-01-01T09:10:00Z","pausedRemaining":5,)"
                         R"("completedWorkIntervals":0})"),
              QByteArray(R"({"phase":"work","endsAt":"soon","completedWorkIntervals":0})"),
              QByteArray(R"({"phase":"work","pausedRemaining":5,"completedWorkIntervals":"2"})")}) {
            preferences->setValue(PomodoroStore::stateKey, unreadable);
            QVERIFY2(makeTimer()->status() == PomodoroTimer::Idle, unreadable.constData());
        }
    }

    // The count's day is the user's calendar day, on both sides of local midnight, east and west
    // of UTC. Yesterday's count (1 January) is 5.
    void theCountFollowsTheLocalDay_data() {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QDateTime>("localTime");
        QTest::addColumn<int>("countAtStart");
        QTest::addColumn<QString>("dayAfterCompletion");
        const auto local = [](int day, int hour, int minute) {
            return QDateTime(QDate(2026, 1, day), QTime(hour, minute));
        };
        QTest::newRow("Auckland 23:59")
            << QByteArray("Pacific/Auckland") << local(1, 23, 59) << 5 << "2026-1-1";
        QTest::newRow("Auckland 00:00")
            << QByteArray("Pacific/Auckland") << local(2, 0, 0) << 0 << "2026-1-2";
        QTest::newRow("Los Angeles 23:59")
            << QByteArray("America/Los_Angeles") << local(1, 23, 59) << 5 << "2026-1-1";
        QTest::newRow("Los Angeles 00:00")
            << QByteArray("America/Los_Angeles") << local(2, 0, 0) << 0 << "2026-1-2";
    }
    void theCountFollowsTheLocalDay() {
        QFETCH(QByteArray, zone);
        QFETCH(QDateTime, localTime);
        QFETCH(int, countAtStart);
        QFETCH(QString, dayAfterCompletion);
        const QTimeZone userZone(zone);
        restartClockAt(localTime, userZone);
        preferences->setValue(PomodoroStore::completedTodayKey, 5);
        preferences->setValue(PomodoroStore::countDayKey, "2026-1-1");

        PomodoroTimer timer(scriptedClient(*backend), *preferences, *scheduler, userZone);
        QCOMPARE(timer.completedToday(), countAtStart);
        timer.start();
        timer.skip();
        QCOMPARE(timer.completedToday(), countAtStart + 1);
        QCOMPARE(preferences->value(PomodoroStore::countDayKey).toString(), dayAfterCompletion);
    }

    void remainingTimeFormat() {
        QCOMPARE(PomodoroTimer::formatRemaining(3599), "59:59");
        QCOMPARE(PomodoroTimer::formatRemaining(3600), "1:00:00");
        QCOMPARE(PomodoroTimer::formatRemaining(61), "01:01");
        QCOMPARE(PomodoroTimer::formatRemaining(0), "00:00");
        QCOMPARE(PomodoroTimer::formatRemaining(86400), "24:00:00");
        // A long interval from its first second: hours first.
        auto timer = makeTimer({}, PomodoroConfig{90, 5, 15, 4});
        timer->start();
        QCOMPARE(timer->remainingText(), "1:30:00");
        clock->advance(30min + 1s);
        QCOMPARE(timer->remainingText(), "59:59");
        QCOMPARE(timer->startHint(), "Starts a 90 minute focus interval.");
        // Out-of-range lengths are kept within a minute and a day.
        QCOMPARE(PomodoroConfig({0, 5000, 15, 0}).seconds(PomodoroPhase::work), 60);
        QCOMPARE(PomodoroConfig({0, 5000, 15, 0}).seconds(PomodoroPhase::shortBreak), 86400);
        QCOMPARE(PomodoroConfig({0, 5000, 15, 0}).next(PomodoroPhase::work, 3), PomodoroPhase::longBreak);
    }

    // An interval that ended while the app was closed completes on the first tick, and only one
    // phase step happens: the break that follows starts now.
    void aLongAbsenceStepsOnePhasePerTick() {
        backend->enqueue(ScriptedResponse::json(200, R"({"session_id":"s1","duration_minutes":25})"));
        store({{"phase", "work"},
               {"endsAt", "2026-01-01T06:00:00Z"},
               {"completedWorkIntervals", 1},
               {"studySessionId", "s1"}});
        auto timer = makeTimer("user_1");
        QCOMPARE(timer->status(), PomodoroTimer::Running);
        QCOMPARE(timer->remainingText(), "00:00");
        clock->advance(1s);
        QCOMPARE(timer->phaseLabel(), "Short break");
        QCOMPARE(timer->state()->completedWorkIntervals, 2);
        QCOMPARE(timer->state()->endsAt, at(1s + 5min));
        clock->advance(1s);
        QCOMPARE(timer->phaseLabel(), "Short break");
        QCOMPARE(timer->completedToday(), 1);
        // The session ends with the whole focus interval.
        QTRY_COMPARE(backend->requestCount(), 1);
        QCOMPARE(backend->requests()[0].path, "/api/gamification/study/session/end");
        QCOMPARE(bodyOf(backend->requests()[0]),
                 (QJsonObject{{"user_id", "user_1"}, {"session_id", "s1"}, {"active_seconds", 1500}}));
    }

    // Study sessions: started with "Start focus" and with every later focus interval, ended with
    // the focus seconds actually spent on Skip and Reset, never for a break.
    void studySessionsFollowTheFocusIntervals() {
        backend->setHandler([n = 0](const RecordedRequest& request) mutable {
            const QByteArray id = request.path.endsWith("/start") ? "s" + QByteArray::number(++n) : "ended";
            return ScriptedResponse::json(200, R"({"session_id":")" + id + R"("})");
        });
        auto timer = makeTimer("user_1");
        timer->start();
        QTRY_COMPARE(timer->state()->studySessionId, std::optional<QString>("s1"));
        QCOMPARE(stored().value("studySessionId").toString(), "s1");
        QCOMPARE(bodyOf(backend->requests()[0]),
                 (QJsonObject{{"user_id", "user_1"}, {"verification_method", "built_in_timer"}}));

        clock->advance(10min);
        timer->skip();
        QTRY_COMPARE(backend->requestCount(), 2);
        QCOMPARE(bodyOf(backend->requests()[1]),
                 (QJsonObject{{"user_id", "user_1"}, {"session_id", "s1"}, {"active_seconds", 600}}));
        QVERIFY(!timer->state()->studySessionId);

        // A break holds no session: resetting in it sends nothing.
        clock->advance(1min);
        timer->reset();
        timer->start();
        QTRY_COMPARE(timer->state()->studySessionId, std::optional<QString>("s2"));
        clock->advance(61s);
        timer->reset();
        QTRY_COMPARE(backend->requestCount(), 4);
        QCOMPARE(bodyOf(backend->requests()[3]),
                 (QJsonObject{{"user_id", "user_1"}, {"session_id", "s2"}, {"active_seconds", 61}}));
        QCOMPARE(timer->status(), PomodoroTimer::Idle);
        QVERIFY(!preferences->contains(PomodoroStore::stateKey));
        QCOMPARE(timer->completedToday(), 1); // kept

        // A break that ends starts the next focus interval's session.
        timer->start();
        QTRY_COMPARE(timer->state()->studySessionId, std::optional<QString>("s3"));
        timer->skip();
        timer->skip();
        QTRY_COMPARE(timer->state()->studySessionId, std::optional<QString>("s4"));
    }

    // A failed session call leaves the timer as it was; an answer that comes after its interval
    // ended is given to no other interval.
    void sessionAnswersNeverMoveTheTimer() {
        backend->enqueue(ScriptedResponse::json(500, R"({"detail":"down"})"));
        auto timer = makeTimer("user_1");
        timer->start();
        const PomodoroState started = *timer->state();
        const QJsonObject saved = stored();
        QTRY_COMPARE(backend->requestCount(), 1);
        QTRY_COMPARE(timer->runningTasks(), 1); // only the tick is left
        QCOMPARE(*timer->state(), started);
        QCOMPARE(stored(), saved);

        timer->reset();
        backend->enqueue(ScriptedResponse::held(ScriptedResponse::json(200, R"({"session_id":"late"})")));
        timer->start();
        QTRY_COMPARE(backend->heldCount(), 1);
        timer->skip(); // into a break before the answer comes
        const PomodoroState onBreak = *timer->state();
        backend->releaseHeld();
        QTRY_COMPARE(timer->runningTasks(), 1);
        QCOMPARE(*timer->state(), onBreak);
        QVERIFY(!stored().contains("studySessionId"));
    }

    // The one pending notification follows the saved state: replaced on every change while
    // running, removed while paused and on reset.
    void theNotificationFollowsTheState() {
        auto timer = makeTimer();
        QSignalSpy offChanged(timer.get(), &PomodoroTimer::notificationsOffMessageChanged);
        timer->start();
        clock->advance(5min);
        timer->pause();
        clock->advance(5min);
        timer->resume();
        timer->skip();
        clock->advance(5min); // the break ends on its own
        timer->reset();
        QCOMPARE(
            scheduler->calls,
            (QStringList{"Focus interval done | Time for a break. @ 2026-01-01T09:25:00.000Z", "cancel",
                         "Focus interval done | Time for a break. @ 2026-01-01T09:30:00.000Z",
                         "Break's over | Ready for another focus interval? @ 2026-01-01T09:15:00.000Z",
                         "Focus interval done | Time for a break. @ 2026-01-01T09:40:00.000Z", "cancel"}));

        QCOMPARE(timer->notificationsOffMessage(), QString());
        scheduler->deny();
        QCOMPARE(offChanged.size(), 1);
        QCOMPARE(timer->notificationsOffMessage(), PomodoroTimer::notificationsOffText);
    }

    // Through the notification manager, each change of the timer leaves exactly one pending
    // "pomodoro-" request, the latest, and a reset leaves none; study reminders are not touched.
    void theManagerKeepsOnePendingAlert() {
        auto agent = std::make_shared<FakeNotifierClient>();
        LocalNotificationRequest reminder;
        reminder.identifier = QStringLiteral("study-reminder-09-00");
        agent->pending.insert(reminder.identifier, reminder);
        NotificationManager manager(agent, QDBusConnection(QStringLiteral("none")), *preferences);
        ManagerFocusNotifications alerts(manager);
        const QDateTime now = clock->now();
        alerts.schedule("Focus interval done", "Time for a break.", now.addSecs(25 * 60));
        alerts.schedule("Break's over", "Ready for another focus interval?", now.addSecs(30 * 60));
        QCoreApplication::processEvents();
        QStringList pomodoros;
        for (const LocalNotificationRequest& request : std::as_const(agent->pending))
            if (request.identifier.startsWith(NotificationManager::focusTimerPrefix))
                pomodoros << request.title + " @ " + request.fireDate.toString(Qt::ISODate);
        QCOMPARE(pomodoros, QStringList{"Break's over @ " + now.addSecs(30 * 60).toString(Qt::ISODate)});
        alerts.cancelAll();
        QCoreApplication::processEvents();
        QCOMPARE(agent->pending.keys(), QStringList{"study-reminder-09-00"});
    }

    // The timer is its user's. Signing out, or another user signing in, puts it away with today's
    // count and its notification, and sends no end call: that user's session is gone. The same
    // user again changes nothing, nor does the first user after launch, whose timer it was; a
    // launch that finds nobody signed in puts the stored timer away.
    void signingOutPutsTheTimerAway() {
        backend->setHandler(
            [](const RecordedRequest&) { return ScriptedResponse::json(200, R"({"session_id":"s1"})"); });
        store({{"phase", "work"},
               {"endsAt", "2026-01-01T09:20:00Z"},
               {"completedWorkIntervals", 2},
               {"studySessionId", "s0"}});
        preferences->setValue(PomodoroStore::completedTodayKey, 2);
        preferences->setValue(PomodoroStore::countDayKey, "2026-1-1");
        auto timer = makeTimer("user_1");
        timer->setUserId("user_1");
        QCOMPARE(timer->status(), PomodoroTimer::Running);
        QCOMPARE(timer->completedToday(), 2);

        QSignalSpy changed(timer.get(), &PomodoroTimer::stateChanged);
        timer->setUserId(QString());
        QCOMPARE(changed.size(), 1);
        QCOMPARE(timer->status(), PomodoroTimer::Idle);
        QCOMPARE(timer->completedToday(), 0);
        for (const QString& key :
             {PomodoroStore::stateKey, PomodoroStore::completedTodayKey, PomodoroStore::countDayKey})
            QVERIFY2(!preferences->contains(key), qPrintable(key));
        QCOMPARE(scheduler->calls, QStringList{"cancel"});
        QCOMPARE(timer->runningTasks(), 0); // neither a tick nor an end call

        // Another user signs in while the first one's timer runs.
        timer->setUserId("user_1");
        timer->start();
        QTRY_COMPARE(timer->state()->studySessionId, std::optional<QString>("s1"));
        timer->setUserId("user_2");
        QCOMPARE(timer->status(), PomodoroTimer::Idle);
        QCOMPARE(timer->runningTasks(), 0);
        QCOMPARE(backend->requestCount(), 1); // the start alone

        store({{"phase", "shortBreak"}, {"pausedRemaining", 60}, {"completedWorkIntervals", 1}});
        scheduler->calls.clear();
        timer = makeTimer();
        timer->setUserId(QString());
        QCOMPARE(timer->status(), PomodoroTimer::Idle);
        QVERIFY(!preferences->contains(PomodoroStore::stateKey));
        QCOMPARE(scheduler->calls, QStringList{"cancel"});
        // With nothing to put away, nothing is asked of the notifier.
        scheduler->calls.clear();
        makeTimer()->setUserId(QString());
        QCOMPARE(scheduler->calls, QStringList());
    }

    // The count turns with the user's day, not only with the next completion: at local midnight a
    // running timer's summary starts again from 0; a paused one's when it resumes.
    void theCountTurnsAtMidnight() {
        const QTimeZone zone("Pacific/Auckland");
        restartClockAt(QDateTime(QDate(2026, 1, 1), QTime(23, 59, 58)), zone);
        preferences->setValue(PomodoroStore::completedTodayKey, 3);
        preferences->setValue(PomodoroStore::countDayKey, "2026-1-1");
        PomodoroTimer timer(scriptedClient(*backend), *preferences, *scheduler, zone);
        timer.start();
        QSignalSpy changed(&timer, &PomodoroTimer::stateChanged);
        clock->advance(1s);
        QCOMPARE(timer.summary(), "3 completed today · 0/4 to a long break");
        QCOMPARE(changed.size(), 0);
        clock->advance(1s);
        QCOMPARE(timer.summary(), "0 completed today · 0/4 to a long break");
        QCOMPARE(changed.size(), 1);

        timer.skip(); // the 2nd's first, then a break paused over the next midnight
        timer.pause();
        clock->advance(24h);
        timer.resume();
        QCOMPARE(timer.summary(), "0 completed today · 1/4 to a long break");
    }

    // The machine sleeps through the end of a focus interval: the wall clock jumps, while the
    // tick's timer, like the system's monotonic timers, does not see the sleep. The first tick
    // after waking completes the interval, and it counts on the day it ended: one that ended
    // before midnight is not today's, and yesterday's stored count is left alone.
    void sleepingOverMidnight_data() {
        QTest::addColumn<QTime>("startedAt"); // local, on 1 January
        QTest::addColumn<int>("countToday");
        QTest::addColumn<QString>("countDay");
        QTest::addColumn<int>("storedCount");
        QTest::newRow("ended 23:59:59.999") << QTime(23, 34, 59, 999) << 0 << "2026-1-1" << 5;
        QTest::newRow("ended 00:00:00") << QTime(23, 35) << 1 << "2026-1-2" << 1;
    }
    void sleepingOverMidnight() {
        QFETCH(QTime, startedAt);
        QFETCH(int, countToday);
        QFETCH(QString, countDay);
        QFETCH(int, storedCount);
        const QTimeZone zone("America/Los_Angeles");
        restartClockAt(QDateTime(QDate(2026, 1, 1), startedAt), zone);
        preferences->setValue(PomodoroStore::completedTodayKey, 5);
        preferences->setValue(PomodoroStore::countDayKey, "2026-1-1");
        PomodoroTimer timer(scriptedClient(*backend), *preferences, *scheduler, zone);
        timer.start();
        clock->advance(10min);
        clock->setTime(QDateTime(QDate(2026, 1, 2), QTime(7, 0), zone));
        QCOMPARE(timer.phaseLabel(), "Focus"); // still asleep
        clock->advance(1s);
        QCOMPARE(timer.phaseLabel(), "Short break");
        QCOMPARE(timer.state()->completedWorkIntervals, 1);
        QCOMPARE(timer.completedToday(), countToday);
        QCOMPARE(preferences->value(PomodoroStore::countDayKey).toString(), countDay);
        QCOMPARE(preferences->value(PomodoroStore::completedTodayKey).toInt(), storedCount);
    }

    // Waking a second before the end leaves that second to run; waking on the end completes the
    // interval on the first tick. A long sleep steps one phase only: the break starts on waking.
    void aSleepEndsTheIntervalThatPassed() {
        auto timer = makeTimer();
        timer->start();
        clock->advance(10min);
        clock->setTime(at(24min + 58s));
        clock->advance(1s);
        QCOMPARE(timer->phaseLabel(), "Focus");
        QCOMPARE(timer->remainingText(), "00:01");
        clock->advance(1s);
        QCOMPARE(timer->phaseLabel(), "Short break");
        QCOMPARE(timer->state()->endsAt, at(30min));

        timer->reset();
        timer->start();
        clock->advance(10min);
        clock->setTime(clock->now().addSecs(2 * 3600));
        const QDateTime woke = clock->now();
        clock->advance(1s);
        QCOMPARE(timer->phaseLabel(), "Short break");
        QCOMPARE(timer->state()->completedWorkIntervals, 1);
        QCOMPARE(timer->state()->endsAt, woke.addSecs(1 + 5 * 60));
    }

    // The wall clock set back while a focus interval runs: the interval keeps the time it had
    // left, to the millisecond, and its stored end and notification move with it. A clock that
    // kept time moves nothing.
    void aClockSetBackKeepsTheTimeLeft_data() {
        QTest::addColumn<int>("backMs");
        QTest::newRow("an hour") << 3'600'000;
        QTest::newRow("a millisecond") << 1;
        QTest::newRow("not at all") << 0;
    }
    void aClockSetBackKeepsTheTimeLeft() {
        QFETCH(int, backMs);
        auto timer = makeTimer();
        timer->start();
        clock->advance(10min);
        scheduler->calls.clear();
        clock->setTime(clock->now().addMSecs(-backMs));
        clock->advance(1s);
        const QDateTime end = at(25min).addMSecs(-backMs);
        QCOMPARE(timer->state()->endsAt, end);
        QCOMPARE(timer->remainingText(), "14:59");
        QCOMPARE(PomodoroState::fromJson(preferences->value(PomodoroStore::stateKey).toByteArray())->endsAt,
                 end);
        QCOMPARE(scheduler->calls, backMs ? QStringList{"Focus interval done | Time for a break. @ " +
                                                        end.toString(Qt::ISODateWithMs)}
                                          : QStringList());
        clock->advance(14min + 58s);
        QCOMPARE(timer->phaseLabel(), "Focus");
        clock->advance(1s);
        QCOMPARE(timer->phaseLabel(), "Short break");
    }

    // A stored end further off than a whole interval (the clock was set back while the app was
    // closed) is brought to a whole interval from now; one exactly a whole interval off is kept.
    // The time left of a paused interval likewise.
    void aStoredEndBeyondAWholeIntervalIsLimited() {
        store({{"phase", "work"}, {"endsAt", "2026-01-01T09:25:00.000Z"}, {"completedWorkIntervals", 0}});
        QCOMPARE(makeTimer()->state()->endsAt, at(25min));
        QCOMPARE(scheduler->calls, QStringList());

        store({{"phase", "work"}, {"endsAt", "2026-01-01T09:25:00.001Z"}, {"completedWorkIntervals", 0}});
        QCOMPARE(makeTimer()->state()->endsAt, at(25min));
        QCOMPARE(stored().value("endsAt").toString(), "2026-01-01T09:25:00.000Z");
        QCOMPARE(scheduler->calls,
                 QStringList{"Focus interval done | Time for a break. @ 2026-01-01T09:25:00.000Z"});

        store({{"phase", "longBreak"}, {"pausedRemaining", 900}, {"completedWorkIntervals", 4}});
        QCOMPARE(makeTimer()->state()->pausedRemaining, 900.0);
        store({{"phase", "longBreak"}, {"pausedRemaining", 900.001}, {"completedWorkIntervals", 4}});
        QCOMPARE(makeTimer()->state()->pausedRemaining, 900.0);
        QCOMPARE(stored().value("pausedRemaining").toDouble(), 900.0);
    }

    // ORBELO_FOCUS_MINUTES replaces the focus length when it is a whole number; the rest of the
    // lengths stay, and the usual limits still hold.
    void theFocusLengthFromTheEnvironment() {
        QCOMPARE(PomodoroConfig::withFocusMinutes("1").seconds(PomodoroPhase::work), 60);
        QCOMPARE(PomodoroConfig::withFocusMinutes(" 3 ").seconds(PomodoroPhase::work), 180);
        QCOMPARE(PomodoroConfig::withFocusMinutes("0").seconds(PomodoroPhase::work), 60);
        for (const QByteArray& ignored : {QByteArray(), QByteArray("soon"), QByteArray("1.5")})
            QVERIFY2(PomodoroConfig::withFocusMinutes(ignored).seconds(PomodoroPhase::work) == 1500,
                     ignored.constData());
        QCOMPARE(PomodoroConfig::withFocusMinutes("1").seconds(PomodoroPhase::shortBreak), 300);
    }
};

QTEST_MAIN(FocusTest)
#include "tst_Focus.moc"
