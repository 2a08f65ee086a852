#include "StudyScheduleStore.h"

#include "LibraryStore.h"
#include "ServerContext.h"
#include "StudySchedule.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>

StudyScheduleStore::Schedule StudyScheduleStore::load(const QString& userId) {
    Schedule schedule{UserTimeZone::of(context_.db, userId), {}};
    LibraryStore library(context_);
    for (const QVariantMap& course : context_.db.rows(
             "SELECT * FROM courses WHERE user_id = ? AND study_plan IS NOT NULL ORDER BY created_at, id",
             {userId})) {
        QJsonObject plan = QJsonDocument::fromJson(course.value("study_plan").toByteArray()).object();
        if (!plan.contains("start_date"))
            plan = library.datedPlan(course, plan);
        schedule.events.append(StudySchedule::events(
            course.value("id").toString(), course.value("name").toString(), plan, schedule.timeZone.zone));
    }
    std::sort(schedule.events.begin(), schedule.events.end(), [](const StudyEvent& a, const StudyEvent& b) {
        return a.start != b.start ? a.start < b.start : a.key < b.key;
    });
    return schedule;
}
