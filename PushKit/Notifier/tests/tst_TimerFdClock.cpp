// The agent's kernel timers: each fires once, a cancelled one never does, a timer may set the next
// one from its callback. The delays are a few
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
};

QTEST_GUILESS_MAIN(TimerFdClockTest)
#include "tst_TimerFdClock.moc"
