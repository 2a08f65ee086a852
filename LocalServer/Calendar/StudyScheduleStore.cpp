#include "Calendar/StudyScheduleStore.h"

#include "Courses/StudySchedule.h"
#include "Library/LibraryStore.h"
#include "ServerContext.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>

namespace {
const QString plannedCourses =
    QStringLiteral("SELECT id, user_id, name, info, study_plan, created_at FROM courses"
                   " WHERE user_id = ? AND study_plan IS NOT NULL ORDER BY created_at, id");
}

StudyScheduleStore::Schedule StudyScheduleStore::load(const QString& userId) {
    Schedule schedule{UserTimeZone::of(context_.db, userId), {}};
    LibraryStore library(context_);
    for (const QVariantMap& course : context_.db.rows(plannedCourses, {userId})) {
        QJsonObject plan = QJsonDocument::fromJson(course.value("study_plan").toByteArray()).object();
        if (!plan.contains("start_date"))
            plan = library.datedPlan(course, plan);
        schedule.events.append(StudySchedule::events(
            course.value("id").toString(), course.value("name").toString(), plan, schedule.timeZone.zone));
    }
    // Each start converted once, not at every comparison.
    QList<std::pair<qint64, qsizetype>> order;
    order.reserve(schedule.events.size());
    for (qsizetype i = 0; i < schedule.events.size(); ++i)
        order.append({schedule.events[i].start.toMSecsSinceEpoch(), i});
    std::sort(order.begin(), order.end(), [&schedule](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first
                                  : schedule.events[a.second].key < schedule.events[b.second].key;
    });
    QList<StudyEvent> sorted;
    sorted.reserve(order.size());
    for (const auto& [start, index] : order)
        sorted.append(std::move(schedule.events[index]));
    schedule.events = std::move(sorted);
    return schedule;
}

QByteArray StudyScheduleStore::fingerprint(const QString& userId) {
    QCryptographicHash digest(QCryptographicHash::Sha256);
    // Each part with its length, so that no two different inputs run together the same way.
    const auto add = [&digest](const QString& part) {
        const QByteArray bytes = part.toUtf8();
        digest.addData(QByteArray::number(bytes.size()) + ':');
        digest.addData(bytes);
    };
    add(UserTimeZone::of(context_.db, userId).id);
    for (const QVariantMap& course : context_.db.rows(plannedCourses, {userId})) {
        for (const char* column : {"id", "name", "info", "study_plan", "created_at"})
            add(course.value(column).toString());
    }
    return digest.result();
}
