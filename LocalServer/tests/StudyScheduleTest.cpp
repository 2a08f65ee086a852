#include "Courses/StudySchedule.h"
#include "Courses/MeetingDays.h"
#include "Courses/StudyPlanBuilder.h"
#include "Courses/SyllabusAnalyzer.h"
#include "Courses/TermStart.h"

#include <QJsonArray>
#include <QTest>

// The rules that put a study plan on the calendar: the first day of classes read from a syllabus,
// the class's meeting days, the weeks' dates and study blocks, and their local times across a
// daylight-saving change.
class StudyScheduleTest : public QObject {
    Q_OBJECT

    static QJsonObject plan(int weeks) {
        QStringList topics;
        for (int i = 1; i <= weeks; ++i)
            topics.append(QStringLiteral("Topic %1").arg(i));
        return StudyPlanBuilder::build("course_1", "BIOL 201", topics, "2026-08-01T09:00:00.000Z");
    }

private slots:
    void termStartDates_data() {
        QTest::addColumn<QString>("phrase");
        QTest::addColumn<QDate>("reference");
        QTest::addColumn<QDate>("expected");
        const QDate august(2026, 8, 20);
        const QDate sep8(2026, 9, 8);
        QTest::newRow("month day year") << "September 8, 2026" << august << sep8;
        QTest::newRow("abbreviated, ordinal") << "Sept. 8th" << august << sep8;
        QTest::newRow("weekday first") << "Tuesday, Sep 8" << august << sep8;
        QTest::newRow("day month year") << "8 September 2026" << august << sep8;
        QTest::newRow("iso") << "2026-09-08" << august << sep8;
        QTest::newRow("us numeric") << "9/8/2026" << august << sep8;
        QTest::newRow("us numeric, short year") << "9/8/26" << august << sep8;
        QTest::newRow("us numeric, no year") << "9/8" << august << sep8;
        // Without a year, the nearest one: in December a January start is next year's, in
        // February this year's.
        QTest::newRow("january seen in december") << "January 12" << QDate(2026, 12, 6) << QDate(2027, 1, 12);
        QTest::newRow("january seen in february") << "Jan 12" << QDate(2027, 2, 1) << QDate(2027, 1, 12);
        QTest::newRow("no such day") << "February 30, 2026" << august << QDate();
        QTest::newRow("no date") << "Fall semester" << august << QDate();
        QTest::newRow("month without day") << "September 2026" << august << QDate();
    }
    void termStartDates() {
        QFETCH(QString, phrase);
        QFETCH(QDate, reference);
        QFETCH(QDate, expected);
        QCOMPARE(TermStart::parse(phrase, reference).value_or(QDate()), expected);
    }

    void termStartPhraseInSyllabusText() {
        QCOMPARE(TermStart::phrase("BIOL 201\nClasses begin on Tuesday, September 8, 2026, in room 4.\n"),
                 "September 8, 2026");
        QCOMPARE(TermStart::phrase("First day of class: 2026-09-08\nWeek 1 (Sep 15): Cells"), "2026-09-08");
        QCOMPARE(TermStart::phrase("Schedule\nWeek 1 (Sep 8): Cells\nWeek 2 (Sep 15): Genes"), "Sep 8");
        QCOMPARE(TermStart::phrase("Week 1 - 9/8 Introduction"), "9/8");
        // A date far along the line is not the cue's, and a week other than the first says nothing.
        QCOMPARE(TermStart::phrase("Classes begin when everyone has read the introduction chapter and the "
                                   "safety notes, see page 12, before September 8"),
                 QString());
        QCOMPARE(TermStart::phrase("Week 2 (Sep 15): Genes\nMidterm: October 20"), QString());
    }

    void syllabusGivesClassDateAndCleanTopics() {
        const SyllabusAnalyzer syllabus = SyllabusAnalyzer::analyze(
            "BIOL 201 Syllabus\nInstructor: Dr. Franklin\nMeeting times: Mon/Wed 10am\n"
            "Semester starts September 8, 2026\nWeek 1 (Sep 8): Cells\nWeek 2 (Sep 15) - Genes\n"
            "Week 3 (Sep 22)\n");
        const QJsonObject info = syllabus.classInfo();
        QCOMPARE(info.value("class_date").toString(), "September 8, 2026");
        QCOMPARE(info.value("topics").toArray(), (QJsonArray{"Cells", "Genes", "(Sep 22)"}));
    }

    void meetingDays_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("days");
        QTest::newRow("slashes") << "Mon/Wed 10am" << QList<int>{1, 3};
        QTest::newRow("words") << "Tuesdays and Thursdays 2-3:15pm" << QList<int>{2, 4};
        QTest::newRow("abbreviations") << "Tues, Thurs 11:00 AM" << QList<int>{2, 4};
        QTest::newRow("compact MWF") << "MWF 9:00-9:50 AM" << QList<int>{1, 3, 5};
        QTest::newRow("compact TTh") << "TTh 11am, Room B12" << QList<int>{2, 4};
        QTest::newRow("compact TR") << "TR 2pm" << QList<int>{2, 4};
        QTest::newRow("weekend") << "Saturday mornings" << QList<int>{6};
        QTest::newRow("no days") << "10am, lab TBA" << QList<int>{};
        QTest::newRow("month is not Monday") << "once a month" << QList<int>{};
    }
    void meetingDays() {
        QFETCH(QString, text);
        QFETCH(QList<int>, days);
        QCOMPARE(MeetingDays::parse(text), days);
    }

    void studyBlocksFollowTheClass() {
        QCOMPARE(StudySchedule::blockDays({1, 3}), (QList<int>{2, 4}));
        QCOMPARE(StudySchedule::blockDays({2, 4}), (QList<int>{3, 5}));
        QCOMPARE(StudySchedule::blockDays({1, 3, 5}), (QList<int>{2, 4}));
        QCOMPARE(StudySchedule::blockDays({}), (QList<int>{2, 4}));
        QCOMPARE(StudySchedule::blockDays({3}), (QList<int>{2, 4}));
        // A Sunday class is followed by Monday's block.
        QCOMPARE(StudySchedule::blockDays({7}), (QList<int>{1, 2}));
    }

    void weeksRunMondayToSunday() {
        const QJsonObject dated = StudySchedule::datePlan(plan(3), QDate(2026, 9, 10), "class_date", {1, 3});
        QCOMPARE(dated.value("start_date").toString(), "2026-09-07");
        QCOMPARE(dated.value("start_source").toString(), "class_date");
        const QJsonArray weeks = dated.value("weeks").toArray();
        QCOMPARE(weeks.size(), 3);
        const QJsonObject third = weeks[2].toObject();
        QCOMPARE(third.value("start_date").toString(), "2026-09-21");
        QCOMPARE(third.value("end_date").toString(), "2026-09-27");
        QCOMPARE(third.value("study_blocks").toArray()[1].toObject(),
                 (QJsonObject{{"date", "2026-09-24"}, {"start_time", "18:00"}, {"minutes", 45}}));
        // Dating is a pure function of its inputs.
        QCOMPARE(StudySchedule::datePlan(plan(3), QDate(2026, 9, 7), "class_date", {1, 3}), dated);
    }

    void eventsKeepLocalTimesAcrossDaylightSaving() {
        const QTimeZone newYork("America/New_York");
        // Clocks go back on Sunday, November 1, 2026.
        const QJsonObject dated = StudySchedule::datePlan(plan(2), QDate(2026, 10, 26), "class_date", {});
        const QList<StudyEvent> events = StudySchedule::events("course_1", "BIOL 201", dated, newYork);
        QCOMPARE(events.size(), 6);
        const StudyEvent& week = events[0];
        QCOMPARE(week.kind, "plan_week");
        QCOMPARE(week.title, "Week 1: Topic 1");
        QVERIFY(week.allDay);
        QCOMPARE(week.start.toString(Qt::ISODate), "2026-10-26T00:00:00-04:00");
        QCOMPARE(week.end.toString(Qt::ISODate), "2026-11-02T00:00:00-05:00");
        QCOMPARE(week.start.secsTo(week.end), 7 * 86400 + 3600);
        const StudyEvent& before = events[1];
        const StudyEvent& after = events[4];
        QCOMPARE(before.kind, "study_block");
        QCOMPARE(before.start.toString(Qt::ISODate), "2026-10-27T18:00:00-04:00");
        QCOMPARE(after.start.toString(Qt::ISODate), "2026-11-03T18:00:00-05:00");
        QCOMPARE(after.start.secsTo(after.end), 45 * 60);
        QCOMPARE(after.key, "course_1:week:2:block:1");
        QCOMPARE(after.description, "45 minutes on week 2: Topic 2");
        QVERIFY(events[3].description.endsWith("Quiz yourself on Topic 2"));
        QCOMPARE(after.stamp, QDateTime(QDate(2026, 8, 1), QTime(9, 0), Qt::UTC));
    }

    void planWithoutTopicsIsOneOverviewWeek() {
        const QJsonObject dated =
            StudySchedule::datePlan(StudyPlanBuilder::build("c", "Course", {}, "2026-09-01T00:00:00.000Z"),
                                    QDate(2026, 9, 13), "course_created", {});
        const QList<StudyEvent> events = StudySchedule::events("c", "Course", dated, QTimeZone("UTC"));
        QCOMPARE(events.size(), 3);
        QCOMPARE(events[0].title, "Week 1: Course overview");
        QCOMPARE(events[0].start.date(), QDate(2026, 9, 7));
    }

    void undatedOrDamagedWeeksMakeNoEvents() {
        QJsonObject dated = StudySchedule::datePlan(plan(2), QDate(2026, 9, 7), "class_date", {});
        QJsonArray weeks = dated.value("weeks").toArray();
        QJsonObject broken = weeks[0].toObject();
        broken.insert("end_date", "not a date");
        weeks[0] = broken;
        dated.insert("weeks", weeks);
        const QList<StudyEvent> events = StudySchedule::events("c", "Course", dated, QTimeZone("UTC"));
        QCOMPARE(events.size(), 3);
        QCOMPARE(events[0].key, "c:week:2");
    }
};

QTEST_GUILESS_MAIN(StudyScheduleTest)
#include "StudyScheduleTest.moc"
