// The Study tab's work on the UI thread: finding the calendar app for webcal: links when "Add to
// Calendar" is pressed (a scan of every installed .desktop file), and laying out a year of study
// events by day when the schedule arrives.
#include "Study/ScheduleGrouping.h"
#include "UrlSchemeHandlers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>

#include <benchmark/benchmark.h>

namespace {

void writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write(content);
}

// A desktop with `count` applications in the system data directory, a few of them calendars, and
// a user mimeapps.list choosing one.
void installApplications(const QTemporaryDir& root, int count) {
    for (int i = 0; i < count; ++i) {
        const QByteArray mime =
            i % 100 == 7 ? "text/calendar;x-scheme-handler/webcal;" : "text/plain;image/png;";
        writeFile(root.filePath(QStringLiteral("data-sys/applications/org.example.App%1.desktop").arg(i)),
                  "[Desktop Entry]\nType=Application\nName=App " + QByteArray::number(i) +
                      "\nComment=An application\nExec=app %u\nIcon=app\nCategories=Utility;\nMimeType=" +
                      mime + "\n\n[Desktop Action new]\nName=New window\nExec=app --new\n");
    }
    writeFile(root.filePath("config/mimeapps.list"),
              "[Default Applications]\nx-scheme-handler/webcal=org.example.App107.desktop\n"
              "text/html=browser.desktop\n[Added Associations]\ntext/plain=org.example.App3.desktop;\n");
}

void BM_WebcalHandlers(benchmark::State& state) {
    QTemporaryDir root;
    installApplications(root, int(state.range(0)));
    const UrlSchemeHandlers::Directories directories{root.filePath("config"),
                                                     {root.filePath("config-sys")},
                                                     root.filePath("data"),
                                                     {root.filePath("data-sys")},
                                                     {}};
    for (auto _ : state) {
        const QStringList found = UrlSchemeHandlers(directories).handlers(QStringLiteral("webcal"));
        benchmark::DoNotOptimize(found);
    }
}

// A week event and four study blocks a week for each of four courses, for a year.
QList<StudyEventSummary> yearOfEvents() {
    QList<StudyEventSummary> events;
    const QDateTime start(QDate(2026, 9, 7), QTime(9, 0), QTimeZone::utc());
    for (int week = 0; week < 52; ++week) {
        for (int course = 0; course < 4; ++course) {
            StudyEventSummary plan;
            plan.eventKey = QStringLiteral("w%1-%2").arg(week).arg(course);
            plan.title = QStringLiteral("Week %1: Topic %2").arg(week + 1).arg(course);
            plan.startsAt = start.date().addDays(7 * week).toString(Qt::ISODate);
            plan.endsAt = start.date().addDays(7 * week + 7).toString(Qt::ISODate);
            plan.allDay = true;
            plan.courseId = QStringLiteral("c%1").arg(course);
            events << plan;
            for (int block = 0; block < 4; ++block) {
                const QDateTime at = start.addDays(7 * week + block).addSecs(3600 * (course + 2 * block));
                StudyEventSummary study;
                study.eventKey = QStringLiteral("b%1-%2-%3").arg(week).arg(course).arg(block);
                study.title = QStringLiteral("Study block %1").arg(block + 1);
                study.startsAt = at.toString(Qt::ISODate);
                study.endsAt = at.addSecs(45 * 60).toString(Qt::ISODate);
                study.courseId = plan.courseId;
                events << study;
            }
        }
    }
    return events;
}

void BM_GroupYearByDay(benchmark::State& state) {
    const QList<StudyEventSummary> events = yearOfEvents();
    const QTimeZone zone("Europe/London");
    const QHash<QString, QString> courses{
        {"c0", "Biology"}, {"c1", "History"}, {"c2", "Algebra"}, {"c3", "Art"}};
    for (auto _ : state) {
        const QList<ScheduleGroup> groups = ScheduleGrouping::byDay(events, zone, courses);
        benchmark::DoNotOptimize(groups);
    }
    state.counters["events"] = double(events.size());
}

} // namespace

BENCHMARK(BM_WebcalHandlers)->Arg(300)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GroupYearByDay)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
