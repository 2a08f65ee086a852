// The agent's kernel timers: each fires once, a cancelled one never does, a timer may set the next
// one from its callback, and the clock reads shifted by its offset. The delays are a few
// milliseconds; the test waits on the event loop for the timers themselves.
#include <QtTest>

#include "TimerFdClock.h"

using namespace std::chrono_literals;

class TimerFdClockTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void firesOnceAndCancels() {
        TimerFdClock clock;
        QStringList fired;
        clock.schedule(5ms, [&] { fired << "second"; });
        const auto cancelled = clock.schedule(1ms, [&] { fired << "cancelled"; });
        clock.schedule(0ms, [&] {
            fired << "first";
            clock.schedule(20ms, [&] { fired << "chained"; });
        });
        clock.cancel(cancelled);
        // Timers due close together on a busy machine may be seen in either order.
        QTRY_COMPARE(fired.size(), 3);
        fired.sort();
        QCOMPARE(fired, QStringList({"chained", "first", "second"}));
        clock.cancel(cancelled); // long gone: nothing to do
    }

    void theOffsetShiftsNow() {
        qputenv("ORBELO_NOTIFIER_CLOCK_OFFSET_SECONDS", "-86400");
        const TimerFdClock clock(TimerFdClock::offsetFromEnvironment());
        qunsetenv("ORBELO_NOTIFIER_CLOCK_OFFSET_SECONDS");
        const qint64 behind = clock.now().secsTo(QDateTime::currentDateTimeUtc());
        QVERIFY2(behind >= 86400 && behind <= 86401, qPrintable(QString::number(behind)));
        QCOMPARE(TimerFdClock::offsetFromEnvironment(), 0s);
    }
};

QTEST_GUILESS_MAIN(TimerFdClockTest)
#include "tst_TimerFdClock.moc"
