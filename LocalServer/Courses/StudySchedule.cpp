#include "Courses/StudySchedule.h"

#include <QJsonArray>
#include <algorithm>

namespace StudySchedule {

QDate weekStart(const QDate& day) {
    return day.addDays(1 - day.dayOfWeek());
}

QList<int> blockDays(const QList<int>& meetingDays) {
    QList<int> days;
    for (const int meeting : meetingDays) {
        const int after = meeting % 7 + 1;
        if (!days.contains(after))
            days.append(after);
    }
    for (const int fallback : {2, 4}) {
        if (days.size() < blocksPerWeek && !days.contains(fallback))
            days.append(fallback);
    }
    std::sort(days.begin(), days.end());
    return days.mid(0, blocksPerWeek);
}

QJsonObject datePlan(QJsonObject plan, const QDate& firstDay, const QString& startSource,
                     const QList<int>& meetingDays) {
    const QDate monday = weekStart(firstDay);
    const QList<int> days = blockDays(meetingDays);
    const QString startTime = QTime(blockHour, 0).toString("HH:mm");
    QJsonArray weeks = plan.value("weeks").toArray();
    for (qsizetype i = 0; i < weeks.size(); ++i) {
        QJsonObject week = weeks[i].toObject();
        const QDate weekMonday = monday.addDays(7 * i);
        QJsonArray blocks;
        for (const int day : days)
            blocks.append(QJsonObject{{"date", weekMonday.addDays(day - 1).toString(Qt::ISODate)},
                                      {"start_time", startTime},
                                      {"minutes", blockMinutes}});
        week.insert("start_date", weekMonday.toString(Qt::ISODate));
        week.insert("end_date", weekMonday.addDays(6).toString(Qt::ISODate));
        week.insert("study_blocks", blocks);
        weeks[i] = week;
    }
    plan.insert("weeks", weeks);
    plan.insert("start_date", monday.toString(Qt::ISODate));
    plan.insert("start_source", startSource);
    return plan;
}

QList<StudyEvent> events(const QString& courseId, const QString& courseName, const QJsonObject& datedPlan,
                         const QTimeZone& zone) {
    QList<StudyEvent> list;
    const QJsonArray weeks = datedPlan.value("weeks").toArray();
    const QDateTime stamp = QDateTime::fromString(datedPlan.value("generated_at").toString(), Qt::ISODate);
    for (const QJsonValue& value : weeks) {
        const QJsonObject week = value.toObject();
        const int number = week.value("week").toInt();
        const QString topic = week.value("topic").toString();
        const QDate first = QDate::fromString(week.value("start_date").toString(), Qt::ISODate);
        const QDate last = QDate::fromString(week.value("end_date").toString(), Qt::ISODate);
        if (!first.isValid() || !last.isValid() || last < first)
            continue;
        QStringList tasks;
        for (const QJsonValue& task : week.value("tasks").toArray())
            tasks.append(task.toString());
        const QString weekKey = QStringLiteral("%1:week:%2").arg(courseId, QString::number(number));
        StudyEvent planWeek;
        planWeek.key = weekKey;
        planWeek.courseId = courseId;
        planWeek.courseName = courseName;
        planWeek.kind = "plan_week";
        planWeek.title = QStringLiteral("Week %1: %2").arg(QString::number(number), topic);
        planWeek.description = tasks.join('\n');
        planWeek.start = QDateTime(first, QTime(0, 0), zone);
        planWeek.end = QDateTime(last.addDays(1), QTime(0, 0), zone);
        planWeek.allDay = true;
        planWeek.stamp = stamp;
        list.append(planWeek);

        const QJsonArray blocks = week.value("study_blocks").toArray();
        for (qsizetype b = 0; b < blocks.size(); ++b) {
            const QJsonObject block = blocks[b].toObject();
            const QDate date = QDate::fromString(block.value("date").toString(), Qt::ISODate);
            const QTime time = QTime::fromString(block.value("start_time").toString(), "HH:mm");
            const int minutes = block.value("minutes").toInt();
            if (!date.isValid() || !time.isValid() || minutes <= 0)
                continue;
            StudyEvent study = planWeek;
            study.key = QStringLiteral("%1:block:%2").arg(weekKey, QString::number(b + 1));
            study.kind = "study_block";
            study.title = "Study block: " + topic;
            // The week's tasks are on the week itself.
            study.description = QStringLiteral("%1 minutes on week %2: %3")
                                    .arg(QString::number(minutes), QString::number(number), topic);
            study.start = QDateTime(date, time, zone);
            study.end = study.start.addSecs(qint64(minutes) * 60);
            study.allDay = false;
            list.append(study);
        }
    }
    return list;
}

} // namespace StudySchedule
