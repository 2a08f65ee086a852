// The pending requests on the virtual clock: when each fires, what survives a restart, a corrupt
// file, a change of time zone, a late wake-up and a notification server that is not there.
#include <QtTest>

#include "NotificationScheduler.h"
#include "VirtualClock.h"

#include <QTemporaryDir>

using namespace std::chrono_literals;

namespace {

QDateTime utc(const char* text) {
    return QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate).toUTC();
}

const QTimeZone berlin(QByteArray("Europe/Berlin"));

NotificationRequest daily(const QString& id, int hour, int minute,
                          const QString& title = QStringLiteral("Time to study")) {
    NotificationRequest request;
    request.id = id;
    request.title = title;
    request.body = QStringLiteral("Take a quick quiz from your library.");
    request.soundName = NotificationRequest::defaultSound;
    request.userInfo = {{QStringLiteral("deepLink"), QStringLiteral("quiz-auto-start")}};
    request.daily = DailyTrigger{hour, minute};
    return request;
}

NotificationRequest oneOff(const QString& id, const QDateTime& at) {
    NotificationRequest request;
    request.id = id;
    request.title = QStringLiteral("Focus session complete");
    request.fireTime = at;
    return request;
}

// Stands in for the notification server: records what came due and answers as told.
struct Presenter {
    enum class Answer { shown, failed, silent };
    NotificationScheduler& scheduler;
    Answer answer = Answer::shown;
    QStringList shown;

    explicit Presenter(NotificationScheduler& s) : scheduler(s) {
        QObject::connect(&s, &NotificationScheduler::due, &s,
                         [this](const NotificationRequest& r, quint64 serial) {
                             shown.append(r.id);
                             if (answer == Answer::shown)
                                 scheduler.delivered(r.id, serial);
                             else if (answer == Answer::failed)
                                 scheduler.deliveryFailed(r.id, serial);
                         });
    }
};

QStringList ids(const QList<NotificationRequest>& requests) {
    QStringList list;
    for (const NotificationRequest& r : requests)
        list.append(r.id);
    return list;
}

} // namespace

class NotificationSchedulerTest : public QObject {
    Q_OBJECT

    std::unique_ptr<async::VirtualClock> clock;
    std::unique_ptr<async::ScopedClock> useClock;
    std::unique_ptr<QTemporaryDir> dir;

    QString path() const { return dir->filePath(QStringLiteral("orbelo/notifier/pending.json")); }
    std::unique_ptr<NotificationScheduler> makeScheduler(const QTimeZone& zone = berlin) {
        return std::make_unique<NotificationScheduler>(PendingStore(path()), zone);
    }

private Q_SLOTS:
    void init() {
        clock = std::make_unique<async::VirtualClock>(utc("2026-03-28T12:00:00Z"));
        useClock = std::make_unique<async::ScopedClock>(*clock);
        dir = std::make_unique<QTemporaryDir>();
    }
    void cleanup() {
        useClock.reset();
        clock.reset();
    }

    // A daily reminder fires every day at its wall time, through the spring change (its UTC
    // instant moves an hour earlier) and keeps going; a one-off fires once and is gone.
    void firesDailyAndOnce() {
        auto scheduler = makeScheduler();
        Presenter presenter(*scheduler);
        scheduler->start();
        scheduler->add(daily(QStringLiteral("study-reminder-09-00"), 9, 0));
        scheduler->add(oneOff(QStringLiteral("pomodoro-1"), utc("2026-03-28T12:25:00Z")));

        QCOMPARE(clock->nextTimerIn(), 25min);
        clock->advanceToNextTimer();
        QCOMPARE(presenter.shown, QStringList({"pomodoro-1"}));
        QCOMPARE(ids(scheduler->pending()), QStringList({"study-reminder-09-00"}));

        clock->advanceToNextTimer();
        QCOMPARE(clock->now(), utc("2026-03-29T07:00:00Z"));
        clock->advanceToNextTimer();
        QCOMPARE(clock->now(), utc("2026-03-30T07:00:00Z"));
        QCOMPARE(presenter.shown,
                 QStringList({"pomodoro-1", "study-reminder-09-00", "study-reminder-09-00"}));

        // A one-off whose time has passed fires at once.
        scheduler->add(oneOff(QStringLiteral("pomodoro-2"), clock->now().addSecs(-5)));
        QCOMPARE(presenter.shown.last(), QStringLiteral("pomodoro-2"));
        QCOMPARE(scheduler->count(), 1);
    }

    // The timer goes off late, three days after its time (the machine slept): one notification,
    // and the next is tomorrow's, not the missed days'.
    void aLateWakeUpFiresOnce() {
        async::VirtualClock resumed(utc("2026-04-01T10:00:00Z")); // outlives the scheduler's timer on it
        auto scheduler = makeScheduler();
        Presenter presenter(*scheduler);
        scheduler->start();
        scheduler->add(daily(QStringLiteral("study-reminder-09-00"), 9, 0));

        const async::ScopedClock afterResume(resumed);
        clock->advanceToNextTimer(); // the timer armed before the suspend
        QCOMPARE(presenter.shown, QStringList({"study-reminder-09-00"}));
        QCOMPARE(scheduler->pending().first().due, utc("2026-04-02T07:00:00Z"));
        QCOMPARE(resumed.nextTimerIn(), 21h);
    }

    // Moving to New York: 09:00 is now 09:00 there.
    void aNewTimeZoneMovesDailyReminders() {
        auto scheduler = makeScheduler();
        Presenter presenter(*scheduler);
        scheduler->start();
        scheduler->add(daily(QStringLiteral("study-reminder-09-00"), 9, 0));
        scheduler->add(oneOff(QStringLiteral("pomodoro-1"), utc("2026-03-28T20:00:00Z")));
        QCOMPARE(scheduler->pending().last().due, utc("2026-03-29T07:00:00Z"));

        scheduler->setTimeZone(QTimeZone(QByteArray("America/New_York")));
        QCOMPARE(scheduler->pending().last().due, utc("2026-03-28T13:00:00Z"));
        QCOMPARE(scheduler->pending().first().due, utc("2026-03-28T20:00:00Z"));
        QCOMPARE(clock->nextTimerIn(), 1h);
        QVERIFY(presenter.shown.isEmpty());
    }

    // Requests outlive the agent; what came due while it was not running fires once at start, and
    // daily ones are worked out again in the zone of the day.
    void persistsAcrossARestart() {
        {
            auto scheduler = makeScheduler();
            scheduler->start();
            scheduler->add(daily(QStringLiteral("study-reminder-09-00"), 9, 0));
            scheduler->add(oneOff(QStringLiteral("pomodoro-1"), utc("2026-03-28T12:25:00Z")));
            scheduler->add(oneOff(QStringLiteral("pomodoro-2"), utc("2026-03-30T12:00:00Z")));
        }
        QVERIFY(QFile::exists(path()));
        clock->advance(1h);

        auto restarted = makeScheduler(QTimeZone(QByteArray("Asia/Kolkata")));
        Presenter presenter(*restarted);
        restarted->start();
        QCOMPARE(presenter.shown, QStringList({"pomodoro-1"}));
        const QList<NotificationRequest> pending = restarted->pending();
        QCOMPARE(ids(pending), QStringList({"pomodoro-2", "study-reminder-09-00"}));
        QCOMPARE(pending.at(1).due, utc("2026-03-29T03:30:00Z"));
        QCOMPARE(pending.at(1).deepLink(), QStringLiteral("quiz-auto-start"));
        QCOMPARE(pending.at(1).soundName, NotificationRequest::defaultSound);
        QCOMPARE(pending.at(1).body, QStringLiteral("Take a quick quiz from your library."));
    }

    // An unreadable file is set aside and the agent starts empty; the next save writes a good one.
    void aCorruptFileIsSetAside_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("truncated") << QByteArray(R"({"version":1,"pending":[{"id":"a")");
        QTest::newRow("newer version") << QByteArray(R"({"version":7,"pending":[]})");
        QTest::newRow("incomplete request") << QByteArray(R"({"version":1,"pending":[{"id":"a"}]})");
    }
    void aCorruptFileIsSetAside() {
        QFETCH(QByteArray, content);
        QDir().mkpath(QFileInfo(path()).absolutePath());
        QFile file(path());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();

        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression("unreadable.*starting with none.*kept as"));
        auto scheduler = makeScheduler();
        scheduler->start();
        QCOMPARE(scheduler->count(), 0);
        const QStringList aside =
            QDir(QFileInfo(path()).absolutePath()).entryList({"pending.json.corrupt-*"});
        QCOMPARE(aside.size(), 1);
        QFile kept(QFileInfo(path()).absolutePath() + '/' + aside.first());
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), content);

        scheduler->add(daily(QStringLiteral("study-reminder-09-00"), 9, 0));
        QCOMPARE(ids(PendingStore(path()).load()), QStringList({"study-reminder-09-00"}));
    }

    // With no server to take them, due requests wait: a one-off until a server appears (not on
    // every other change), a daily one also until its next time, when it shows once.
    void undeliveredRequestsWaitForAServer() {
        auto scheduler = makeScheduler();
        Presenter presenter(*scheduler);
        presenter.answer = Presenter::Answer::failed;
        scheduler->start();
        scheduler->add(oneOff(QStringLiteral("pomodoro-1"), clock->now()));
        scheduler->add(daily(QStringLiteral("study-reminder-09-00"), 9, 0));
        QCOMPARE(presenter.shown, QStringList({"pomodoro-1"}));
        scheduler->add(daily(QStringLiteral("study-reminder-18-00"), 18, 0));
        QCOMPARE(presenter.shown.size(), 1);
        QVERIFY(PendingStore(path()).load().first().undelivered);

        clock->advanceToNextTimer(); // 18:00 Berlin; the one-off is offered again with it
        QCOMPARE(presenter.shown, QStringList({"pomodoro-1", "pomodoro-1", "study-reminder-18-00"}));
        QCOMPARE(scheduler->count(), 3);

        // A restart keeps them; a server appears and takes everything, once.
        scheduler.reset();
        auto restarted = makeScheduler();
        Presenter later(*restarted);
        later.answer = Presenter::Answer::silent;
        restarted->start();
        QCOMPARE(later.shown, QStringList({"pomodoro-1", "study-reminder-18-00"}));
        restarted->retryUndelivered(); // still waiting for the answers: nothing twice
        QCOMPARE(later.shown.size(), 2);
    }

    // What a D-Bus caller may add; the errors say what is wrong.
    void checksTheCallersArguments_data() {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QVariantMap>("trigger");
        QTest::addColumn<QString>("error");
        const QVariantMap nine{{"type", "daily"}, {"hour", 9}, {"minute", 0}};
        QTest::newRow("interval") << "pomodoro-1"
                                  << QVariantMap{{"type", "interval"}, {"fireTime", qint64(1)}} << QString();
        QTest::newRow("numbers as doubles")
            << "a" << QVariantMap{{"type", "daily"}, {"hour", 9.0}, {"minute", 0u}} << QString();
        QTest::newRow("empty id") << "" << nine << "id must be";
        QTest::newRow("newline in id") << "a\nb" << nine << "id must be";
        QTest::newRow("hour as text")
            << "a" << QVariantMap{{"type", "daily"}, {"hour", "9"}, {"minute", 0}} << "hour";
        QTest::newRow("fractional") << "a" << QVariantMap{{"type", "daily"}, {"hour", 9.5}, {"minute", 0}}
                                    << "hour";
        QTest::newRow("unknown type") << "a" << QVariantMap{{"type", "weekly"}} << "\"weekly\"";
    }
    void checksTheCallersArguments() {
        QFETCH(QString, id);
        QFETCH(QVariantMap, trigger);
        QFETCH(QString, error);
        QString message;
        const std::optional<NotificationRequest> request =
            NotificationRequest::fromCall(id, "Time to study", "", "default", {}, trigger, &message);
        QCOMPARE(!request, !error.isEmpty());
        QVERIFY2(message.contains(error), qPrintable(message));
        if (request)
            QCOMPARE(request->soundName, QStringLiteral("message-new-instant"));
    }
};

QTEST_GUILESS_MAIN(NotificationSchedulerTest)
#include "tst_NotificationScheduler.moc"
