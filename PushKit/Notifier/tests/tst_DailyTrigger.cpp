// The next firing of a daily wall-clock time, on the days the clocks change and across zones.
#include <QtTest>

#include "DailyTrigger.h"

namespace {

QDateTime utc(const char* text) {
    return QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate).toUTC();
}

QTimeZone zone(const char* id) {
    return QTimeZone(QByteArray(id));
}

} // namespace

class DailyTriggerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // 09:00 keeps to the wall clock as the offset changes underneath it, in both directions and on
    // both sides of the Atlantic (the changes fall on different weekends).
    void nineOClockFollowsDaylightSavingTime_data() {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QDateTime>("after");
        QTest::addColumn<QDateTime>("expected");
        QTest::newRow("Berlin, day before spring")
            << QByteArray("Europe/Berlin") << utc("2026-03-28T08:30:00Z") << utc("2026-03-29T07:00:00Z");
        QTest::newRow("Berlin, day before autumn")
            << QByteArray("Europe/Berlin") << utc("2026-10-24T07:30:00Z") << utc("2026-10-25T08:00:00Z");
        QTest::newRow("New York, spring")
            << QByteArray("America/New_York") << utc("2026-03-07T14:30:00Z") << utc("2026-03-08T13:00:00Z");
        QTest::newRow("New York, autumn")
            << QByteArray("America/New_York") << utc("2026-10-31T13:30:00Z") << utc("2026-11-01T14:00:00Z");
        QTest::newRow("exactly at the time: the next day")
            << QByteArray("Europe/Berlin") << utc("2026-06-01T07:00:00Z") << utc("2026-06-02T07:00:00Z");
        QTest::newRow("earlier the same day")
            << QByteArray("Europe/Berlin") << utc("2026-06-01T06:59:59Z") << utc("2026-06-01T07:00:00Z");
        // Just after midnight UTC it is still the previous day in New York.
        QTest::newRow("local date differs from UTC")
            << QByteArray("America/New_York") << utc("2026-06-02T01:00:00Z") << utc("2026-06-02T13:00:00Z");
    }
    void nineOClockFollowsDaylightSavingTime() {
        QFETCH(QByteArray, zone);
        QFETCH(QDateTime, after);
        QFETCH(QDateTime, expected);
        QCOMPARE(DailyTrigger({9, 0}).nextFireTime(after, QTimeZone(zone)), expected);
    }

    // 02:30 does not exist in Berlin on 29 March 2026 (02:00 becomes 03:00 CEST, at 01:00 UTC):
    // it fires at 03:00, and the next day at 02:30 again.
    void aSkippedTimeFiresWhenTheClocksHaveJumped() {
        const DailyTrigger trigger{2, 30};
        const QDateTime first = trigger.nextFireTime(utc("2026-03-28T12:00:00Z"), zone("Europe/Berlin"));
        QCOMPARE(first, utc("2026-03-29T01:00:00Z"));
        QCOMPARE(trigger.nextFireTime(first, zone("Europe/Berlin")), utc("2026-03-30T00:30:00Z"));
        // New York skips 02:00–03:00 on 8 March 2026 (07:00 UTC).
        QCOMPARE(trigger.nextFireTime(utc("2026-03-07T12:00:00Z"), zone("America/New_York")),
                 utc("2026-03-08T07:00:00Z"));
    }

    // 02:30 happens twice in Berlin on 25 October 2026 (CEST 00:30 UTC, then CET 01:30 UTC): it
    // fires at the first, and from there the next is the following day, not the second reading.
    void aRepeatedTimeFiresOnce() {
        const DailyTrigger trigger{2, 30};
        const QDateTime first = trigger.nextFireTime(utc("2026-10-24T12:00:00Z"), zone("Europe/Berlin"));
        QCOMPARE(first, utc("2026-10-25T00:30:00Z"));
        QCOMPARE(trigger.nextFireTime(first, zone("Europe/Berlin")), utc("2026-10-26T01:30:00Z"));
        // Between the two readings, too.
        QCOMPARE(trigger.nextFireTime(utc("2026-10-25T01:00:00Z"), zone("Europe/Berlin")),
                 utc("2026-10-26T01:30:00Z"));
    }

    // The same wall time lands on a different instant in another zone, including one whose offset
    // is not a whole hour, and midnight belongs to the day it starts.
    void theWallTimeIsReadInTheGivenZone() {
        const QDateTime after = utc("2026-07-01T00:00:00Z");
        QCOMPARE(DailyTrigger({9, 0}).nextFireTime(after, zone("Asia/Kolkata")), utc("2026-07-01T03:30:00Z"));
        QCOMPARE(DailyTrigger({9, 0}).nextFireTime(after, zone("America/New_York")),
                 utc("2026-07-01T13:00:00Z"));
        QCOMPARE(DailyTrigger({0, 0}).nextFireTime(after, QTimeZone::utc()), utc("2026-07-02T00:00:00Z"));
        QCOMPARE(DailyTrigger({23, 59}).nextFireTime(after, zone("Pacific/Kiritimati")),
                 utc("2026-07-01T09:59:00Z"));
    }
};

QTEST_GUILESS_MAIN(DailyTriggerTest)
#include "tst_DailyTrigger.moc"
