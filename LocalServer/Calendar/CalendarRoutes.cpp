#include "Calendar/CalendarRoutes.h"

#include "Calendar/CalendarFeedStore.h"
#include "Calendar/ICalendarWriter.h"
#include "Calendar/StudyScheduleStore.h"
#include "ServerContext.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>

namespace {

// Base64URL of the 32 random bytes CalendarFeedStore::issue makes.
const QRegularExpression& tokenShape() {
    static const QRegularExpression shape(R"(^[A-Za-z0-9_-]{43}$)");
    return shape;
}

QString isoWithOffset(const QDateTime& moment) {
    return moment.toOffsetFromUtc(moment.offsetFromUtc()).toString(Qt::ISODate);
}

bool matchesETag(const QByteArray& ifNoneMatch, const QByteArray& etag) {
    for (const QByteArray& candidate : ifNoneMatch.split(',')) {
        QByteArray tag = candidate.trimmed();
        if (tag.startsWith("W/"))
            tag = tag.mid(2);
        if (tag == "*" || tag == etag)
            return true;
    }
    return false;
}

} // namespace

QJsonObject CalendarRoutes::eventJson(const StudyEvent& event) {
    return QJsonObject{{"event_key", event.key},
                       {"course_id", event.courseId},
                       {"kind", event.kind},
                       {"title", event.title},
                       {"description", event.description},
                       {"starts_at", isoWithOffset(event.start)},
                       {"ends_at", isoWithOffset(event.end)},
                       {"all_day", event.allDay}};
}

ServerResponse CalendarRoutes::preview(const QString& userId) {
    const StudyScheduleStore::Schedule schedule = StudyScheduleStore(context_).load(userId);
    const QDateTime now = QDateTime::fromMSecsSinceEpoch(context_.nowMs(), schedule.timeZone.zone);
    QJsonArray events;
    int finished = 0;
    int planWeeks = 0;
    int studyBlocks = 0;
    QSet<QString> courses;
    for (const StudyEvent& event : schedule.events) {
        if (event.end <= now) {
            ++finished;
            continue;
        }
        if (events.size() >= maxPreviewEvents)
            break;
        events.append(eventJson(event));
        courses.insert(event.courseId);
        if (event.kind == "plan_week")
            ++planWeeks;
        else
            ++studyBlocks;
    }
    return ServerResponse::json(QJsonObject{{"timezone", schedule.timeZone.id},
                                            {"timezone_source", schedule.timeZone.source},
                                            {"preview_tier", false},
                                            {"events", events},
                                            {"counts", QJsonObject{{"plan_weeks", planWeeks},
                                                                   {"study_blocks", studyBlocks},
                                                                   {"courses", int(courses.size())},
                                                                   {"total", int(events.size())},
                                                                   {"skipped_finished", finished},
                                                                   {"locked", 0}}}});
}

QString CalendarRoutes::authority(const ServerRequest& request) const {
    static const QRegularExpression hostShape(R"(^(\[[0-9A-Fa-f:.]+\]|[A-Za-z0-9.-]+)(:\d{1,5})?$)");
    const QString host = QString::fromLatin1(request.header("host"));
    if (hostShape.match(host).hasMatch())
        return host;
    return QUrl(context_.baseUrl).authority();
}

ServerResponse CalendarRoutes::issue(const ServerRequest& request, const QString& userId) {
    const QString token = CalendarFeedStore(context_.db).issue(userId, context_.nowMs());
    if (token.isEmpty())
        return ServerResponse::apiError(500, "The calendar link could not be stored.");
    const QString address = authority(request) + "/calendar/" + token + ".ics";
    return ServerResponse::json(
        QJsonObject{{"webcal_url", "webcal://" + address},
                    {"https_url", "https://" + address},
                    {"refresh_note",
                     QStringLiteral("Calendar apps check this link for changes every few hours, so new study "
                                    "weeks can take up to %1 hours to appear.")
                         .arg(ICalendarWriter::refreshHours)}});
}

ServerResponse CalendarRoutes::revoke(const QString& userId) {
    return ServerResponse::json(QJsonObject{{"revoked", CalendarFeedStore(context_.db).revoke(userId)}});
}

ServerResponse CalendarRoutes::feed(const ServerRequest& request) {
    const QString file = request.param(0);
    const QString token = file.endsWith(".ics") ? file.chopped(4) : QString();
    const QString userId =
        tokenShape().match(token).hasMatch() ? CalendarFeedStore(context_.db).userFor(token) : QString();
    if (userId.isEmpty())
        return ServerResponse::apiError(404, "No such calendar.");
    // Calendar apps poll: an unchanged schedule is answered 304, without building the document.
    const QByteArray etag = QByteArray("\"") + ICalendarWriter::formVersion + '-' +
                            StudyScheduleStore(context_).fingerprint(userId).toHex().left(32) + '"';
    ServerResponse response;
    if (matchesETag(request.header("if-none-match"), etag)) {
        response = ServerResponse::empty(304);
    } else {
        const StudyScheduleStore::Schedule schedule = StudyScheduleStore(context_).load(userId);
        response = ServerResponse::bytes(ICalendarWriter::write(schedule.events, schedule.timeZone.id),
                                         "text/calendar; charset=utf-8");
    }
    response.setHeader("ETag", etag);
    response.setHeader("Cache-Control", "private, no-cache");
    response.setHeader("Content-Disposition", "inline; filename=\"orbelo-study-plan.ics\"");
    return response;
}
