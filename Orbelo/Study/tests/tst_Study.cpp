#include <QtTest>

#include "Common/AppContext.h"
#include "FakeUrlOpener.h"
#include "InMemoryClipboard.h"
#include "InMemoryPreferences.h"
#include "ScriptedClient.h"
#include "ScriptedHttpServer.h"
#include "Study/CalendarFeedModel.h"
#include "Study/ProgressHeaderModel.h"
#include "Study/ScheduleGrouping.h"
#include "Study/StudyScheduleModel.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace {

StudyEventSummary studyEvent(const QString& key, const QString& title, const QString& startsAt,
                             const QString& endsAt, bool allDay = false, const QString& courseId = {}) {
    StudyEventSummary summary;
    summary.eventKey = key;
    summary.title = title;
    summary.startsAt = startsAt;
    summary.endsAt = endsAt;
    summary.allDay = allDay;
    if (!courseId.isEmpty())
        summary.courseId = courseId;
    return summary;
}

QJsonObject wireEvent(const QString& key, const QString& title, const QString& startsAt, bool allDay,
                      const QString& courseId = {}) {
    QJsonObject object{{"event_key", key},      {"title", title},
                       {"starts_at", startsAt}, {"ends_at", startsAt},
                       {"all_day", allDay},     {"kind", allDay ? "plan_week" : "study_block"}};
    if (!courseId.isEmpty())
        object["course_id"] = courseId;
    return object;
}

// Each day as "label: time title; time title".
QStringList outline(const QList<ScheduleGroup>& groups) {
    QStringList days;
    for (const ScheduleGroup& group : groups) {
        QStringList entries;
        for (const ScheduleEntry& entry : group.entries)
            entries << entry.timeText + u' ' + entry.title;
        days << group.label + QStringLiteral(": ") + entries.join(QStringLiteral("; "));
    }
    return days;
}

// The backend's calendar routes and the feed on one scripted server; every request is recorded.
struct Backend {
    ScriptedHttpServer server;
    int previewStatus = 200;
    QJsonArray events;
    QJsonObject counts{{"plan_weeks", 3}, {"study_blocks", 1}, {"courses", 2}, {"total", 4}};
    int bootstrapStatus = 200;
    int issueStatus = 200;
    QString webcalUrl;
    int revokeStatus = 200;
    int feedStatus = 200;
    QByteArray feed = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Orbelo//Study//EN\r\nEND:VCALENDAR\r\n";
    int issued = 0;

    Backend() {
        server.setHandler([this](const RecordedRequest& r) { return answer(r); });
    }

    QString feedUrl(int n) const {
        return server.baseUrl().resolved(QUrl(QStringLiteral("/calendar/feed-%1.ics").arg(n))).toString();
    }

    ScriptedResponse answer(const RecordedRequest& r) {
        if (r.path == "/api/calendar/preview") {
            if (previewStatus != 200)
                return ScriptedResponse::json(previewStatus, "schedule unavailable");
            const QJsonObject body{{"events", events}, {"counts", counts}, {"timezone", "Europe/London"}};
            return ScriptedResponse::json(200, QJsonDocument(body).toJson());
        }
        if (r.path == "/api/bootstrap")
            return ScriptedResponse::json(
                bootstrapStatus,
                R"({"courses":[{"course_id":"c1","course_name":"Biology"}],"documents":[]})");
        if (r.path == "/api/calendar/feed/issue" && r.method == "POST") {
            if (issueStatus != 200)
                return ScriptedResponse::json(issueStatus, "feeds are paused");
            ++issued;
            const QString https = feedUrl(issued);
            QString webcal = webcalUrl.isNull() ? https : webcalUrl;
            if (webcalUrl.isNull())
                webcal.replace(0, 4, QStringLiteral("webcal"));
            const QJsonObject body{{"webcal_url", webcal},
                                   {"https_url", https},
                                   {"refresh_note", "Calendar apps check for changes every few hours."}};
            return ScriptedResponse::json(200, QJsonDocument(body).toJson());
        }
        if (r.path == "/api/calendar/feed/revoke" && r.method == "POST")
            return ScriptedResponse::json(revokeStatus,
                                          revokeStatus == 200 ? R"({"revoked":true})" : R"({})");
        if (r.path.startsWith("/calendar/")) {
            ScriptedResponse response{feedStatus, {{"Content-Type", "text/calendar"}}, feed};
            return response;
        }
        return ScriptedResponse::json(404, "{}");
    }

    int requestsTo(const QByteArray& path) const {
        int count = 0;
        for (const RecordedRequest& r : server.requests())
            count += r.path == path ? 1 : 0;
        return count;
    }
};

// The feed section over a backend, with fake desktop services and preferences.
struct Feed {
    Backend backend;
    InMemoryPreferences preferences;
    FakeUrlOpener opener;
    InMemoryClipboard clipboard;
    std::unique_ptr<CalendarFeedModel> model;

    Feed() {
        opener.handledSchemes = {"webcal"};
        model = std::make_unique<CalendarFeedModel>(scriptedClient(backend.server), preferences, opener,
                                                    clipboard);
    }
    void settle() const { QTRY_VERIFY(!model->isBusy()); }
};

} // namespace

class StudyTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Days in the reader's zone: the autumn clock change, an event written with a distant offset,
    // all-day events on the date they were given, and the order within and across days.
    void groupsByLocalDay() {
        const QTimeZone london("Europe/London");
        const QList<StudyEventSummary> events{
            studyEvent("e1", "Evening review", "2026-10-25T23:30:00Z", "2026-10-26T00:15:00Z"),
            // 00:30 BST on the morning the clocks go back; it ends at 01:30 GMT, two hours later.
            studyEvent("e2", "Night owl block", "2026-10-24T23:30:00Z", "2026-10-25T01:30:00Z"),
            studyEvent("e3", "Week 8: Genetics", "2026-10-25", "2026-10-26", true),
            studyEvent("e4", "Saturday block", "2026-10-24T22:30:00+00:00", "2026-10-24T23:00:00+00:00"),
            // Written in India: 02:00 on the 7th there is still the evening of the 6th in London.
            studyEvent("e5", "Reading", "2026-09-07T02:00:00.000+05:30", "2026-09-07T02:45:00+05:30"),
            // A whole day stays on its date whatever offset travels with it.
            studyEvent("e6", "Week 1: Cell biology", "2026-09-07T00:00:00+14:00", "2026-09-08T00:00:00+14:00",
                       true),
            studyEvent("e7", "Broken", "next Tuesday", "later"),
        };
        QCOMPARE(outline(ScheduleGrouping::byDay(events, london)),
                 QStringList({"Sun 6 Sep: 21:30 – 22:15 Reading", "Mon 7 Sep: All day Week 1: Cell biology",
                              "Sat 24 Oct: 23:30 – 00:00 Saturday block",
                              "Sun 25 Oct: All day Week 8: Genetics; 00:30 – 01:30 Night owl block; "
                              "23:30 – 00:15 Evening review"}));

        // In a zone five and a half hours ahead the timed events move, the whole days do not.
        QCOMPARE(outline(ScheduleGrouping::byDay(events, QTimeZone(5 * 3600 + 1800))),
                 QStringList({"Mon 7 Sep: All day Week 1: Cell biology; 02:00 – 02:45 Reading",
                              "Sun 25 Oct: All day Week 8: Genetics; 04:00 – 04:30 Saturday block; "
                              "05:00 – 07:00 Night owl block",
                              "Mon 26 Oct: 05:00 – 05:45 Evening review"}));
    }

    // Rows read well aloud, with the course named when the user's courses know it.
    void accessibleNamesAndCourses() {
        const QList<ScheduleGroup> groups = ScheduleGrouping::byDay(
            {studyEvent("e1", "Week 1: Cell biology", "2026-09-07", "2026-09-08", true, "c9"),
             studyEvent("e2", "Mitosis review", "2026-09-07T10:00:00+01:00", "2026-09-07T10:45:00+01:00",
                        false, "c1")},
            QTimeZone("Europe/London"), {{"c1", "Biology"}});
        QCOMPARE(groups.size(), 1);
        QCOMPARE(ScheduleGrouping::accessibleName(groups[0], groups[0].entries[0]),
                 QStringLiteral("Mon 7 Sep, Week 1: Cell biology, all day"));
        QCOMPARE(ScheduleGrouping::accessibleName(groups[0], groups[0].entries[1]),
                 QStringLiteral("Mon 7 Sep, Mitosis review, 10:00 to 10:45, Biology"));
    }

    // Loading, failure with "Try again", the list with its summary and course names, and the empty
    // schedule; the course names are optional.
    void scheduleStates() {
        Backend backend;
        backend.previewStatus = 500;
        StudyScheduleModel model(scriptedClient(backend.server), QTimeZone("Europe/London"));
        model.load();
        QVERIFY(model.isLoading());
        model.load(); // not twice
        QTRY_VERIFY(!model.isLoading());
        QCOMPARE(backend.requestsTo("/api/calendar/preview"), 1);
        QCOMPARE(model.errorMessage(),
                 QStringLiteral("Couldn't load your schedule: Request failed (500). schedule unavailable"));
        QVERIFY(!model.isEmpty());

        backend.previewStatus = 200;
        backend.events = {wireEvent("e1", "Week 1: Cell biology", "2026-09-07", true, "c1"),
                          wireEvent("e2", "Study block", "2026-09-08T09:00:00Z", false, "c2")};
        model.load(); // "Try again"
        QTRY_VERIFY(!model.isLoading());
        QCOMPARE(model.errorMessage(), QString());
        QCOMPARE(model.summary(), QStringLiteral("3 weeks · 1 study block · 2 courses"));
        const QVariantList days = model.days();
        QCOMPARE(days.size(), 2);
        const QVariantMap first = days[0].toMap()["entries"].toList()[0].toMap();
        QCOMPARE(days[0].toMap()["label"].toString(), QStringLiteral("Mon 7 Sep"));
        QCOMPARE(first["course"].toString(), QStringLiteral("Biology"));
        QCOMPARE(days[1].toMap()["entries"].toList()[0].toMap()["time"].toString(),
                 QStringLiteral("10:00 – 10:00"));

        backend.bootstrapStatus = 500;
        backend.events = {};
        model.load();
        QTRY_VERIFY(!model.isLoading());
        QCOMPARE(model.errorMessage(), QString());
        QVERIFY(model.isEmpty());
        QVERIFY(model.days().isEmpty());
    }

    // "Add to Calendar": issues, remembers it, opens the webcal link; the wording then says
    // "again" and "Open in Calendar" opens the same link without a new one.
    void addToCalendar() {
        Feed feed;
        QCOMPARE(feed.model->addTitle(), QStringLiteral("Add to Calendar"));
        QVERIFY(!feed.model->canManage());
        feed.model->addToCalendar();
        QVERIFY(feed.model->isBusy());
        feed.settle();
        QCOMPARE(feed.opener.opened, QList<QUrl>({QUrl(feed.backend.feedUrl(1).replace(0, 4, "webcal"))}));
        QVERIFY(feed.preferences.boolValue("calendarFeedIssued"));
        QCOMPARE(feed.model->addTitle(), QStringLiteral("Add to Calendar again"));
        QCOMPARE(feed.model->refreshNote(),
                 QStringLiteral("Calendar apps check for changes every few hours."));
        QCOMPARE(feed.model->errorMessage(), QString());

        feed.model->openInCalendar();
        QCOMPARE(feed.opener.opened.size(), 2);
        QCOMPARE(feed.backend.requestsTo("/api/calendar/feed/issue"), 1);

        // Remembered on this device, not the link itself: a new run offers "again" but has no link.
        CalendarFeedModel later(scriptedClient(feed.backend.server), feed.preferences, feed.opener,
                                feed.clipboard);
        QCOMPARE(later.addTitle(), QStringLiteral("Add to Calendar again"));
        QVERIFY(!later.hasLink());
        QVERIFY(later.canManage());
    }

    // Where opening cannot work, the line says why: no calendar app for webcal (and nothing is
    // issued), the desktop refusing, a link that is no webcal link, and a failed issue.
    void openingFailures() {
        Feed feed;
        feed.opener.handledSchemes.clear();
        feed.model->addToCalendar();
        QCOMPARE(feed.model->errorMessage(), CalendarFeedModel::noSubscriberText);
        QCOMPARE(feed.backend.server.requestCount(), 0);
        QVERIFY(feed.opener.opened.isEmpty());

        feed.opener.handledSchemes = {"webcal"};
        feed.opener.opens = false;
        feed.model->addToCalendar();
        feed.settle();
        QCOMPARE(feed.model->errorMessage(),
                 QStringLiteral("Couldn't open Calendar. Copy the link and add it there manually."));

        Feed badLink;
        badLink.backend.webcalUrl = "webcal ://broken link";
        badLink.model->addToCalendar();
        badLink.settle();
        QCOMPARE(badLink.model->errorMessage(), QStringLiteral("That calendar link couldn't be opened."));
        QVERIFY(badLink.opener.opened.isEmpty());

        Feed refused;
        refused.backend.issueStatus = 422;
        refused.model->addToCalendar();
        refused.settle();
        QCOMPARE(refused.model->errorMessage(),
                 QStringLiteral("Couldn't create the calendar link: Request failed (422). feeds are paused"));
        QVERIFY(!refused.preferences.contains("calendarFeedIssued"));
        QVERIFY(!refused.model->hasLink());
    }

    // "Copy link" puts the https form on the clipboard, issuing a link first only when needed.
    void copyLink() {
        Feed feed;
        feed.model->copyLink();
        feed.settle();
        QCOMPARE(feed.clipboard.text(), feed.backend.feedUrl(1));
        QCOMPARE(feed.model->infoMessage(), QStringLiteral("Copied — treat it like a password"));
        feed.clipboard.setText({});
        feed.model->copyLink();
        QCOMPARE(feed.clipboard.text(), feed.backend.feedUrl(1));
        QCOMPARE(feed.backend.requestsTo("/api/calendar/feed/issue"), 1);
        QVERIFY(feed.opener.opened.isEmpty());
    }

    // Replacing and stopping ask first; cancelling sends nothing, confirming sends the request.
    void confirmations() {
        Feed feed;
        feed.model->copyLink();
        feed.settle();
        const int before = feed.backend.server.requestCount();

        feed.model->requestReplace();
        QCOMPARE(feed.model->confirmationTitle(), QStringLiteral("Replace your calendar link?"));
        QCOMPARE(feed.model->confirmationAction(), QStringLiteral("Replace link"));
        feed.model->cancelConfirmation();
        QCOMPARE(feed.model->confirmation(), QString());
        feed.model->requestStopSharing();
        QCOMPARE(feed.model->confirmationTitle(), QStringLiteral("Stop sharing your calendar?"));
        QVERIFY(feed.model->confirmationMessage().startsWith("The link stops working immediately."));
        feed.model->cancelConfirmation();
        feed.model->confirm(); // nothing is waiting any more
        QVERIFY(!feed.model->isBusy());
        QCOMPARE(feed.backend.server.requestCount(), before);

        feed.model->requestReplace();
        feed.model->confirm();
        feed.settle();
        QCOMPARE(feed.backend.requestsTo("/api/calendar/feed/issue"), 2);
        QCOMPARE(feed.model->linkText(), feed.backend.feedUrl(2));

        feed.backend.revokeStatus = 500;
        feed.model->requestStopSharing();
        feed.model->confirm();
        feed.settle();
        QCOMPARE(feed.model->errorMessage(),
                 QStringLiteral("Couldn't stop sharing: Request failed (500). {}"));
        QVERIFY(feed.model->hasLink());

        feed.backend.revokeStatus = 200;
        feed.model->requestStopSharing();
        feed.model->confirm();
        feed.settle();
        QCOMPARE(feed.backend.requestsTo("/api/calendar/feed/revoke"), 2);
        QVERIFY(!feed.model->hasLink());
        QCOMPARE(feed.model->errorMessage(), QString());
    }

    // "Save as .ics file…": the feed as a calendar app fetches it (no sign-in), written whole; a
    // link is issued first when this run has none; failures leave any earlier file alone.
    void saveCalendarFile() {
        QTemporaryDir dir;
        Feed feed;
        const QString path = dir.filePath("schedule.ics");
        feed.model->saveCalendarFile(QUrl::fromLocalFile(path));
        feed.settle();
        QCOMPARE(feed.model->infoMessage(),
                 QStringLiteral("Created a calendar link and saved your calendar as schedule.ics."));
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), feed.backend.feed);
        const RecordedRequest download = feed.backend.server.requests().last();
        QCOMPARE(download.path, QByteArray("/calendar/feed-1.ics"));
        QVERIFY(!download.header("Authorization"));

        feed.backend.feed = "<html>Not found</html>";
        feed.model->saveCalendarFile(QUrl::fromLocalFile(path));
        feed.settle();
        QCOMPARE(feed.model->errorMessage(),
                 QStringLiteral("Couldn't download your calendar: the answer wasn't a calendar."));
        feed.backend.feedStatus = 410;
        feed.model->saveCalendarFile(QUrl::fromLocalFile(path));
        feed.settle();
        QCOMPARE(feed.model->errorMessage(),
                 QStringLiteral("Couldn't download your calendar: the server answered 410."));
        saved.seek(0);
        QVERIFY(saved.readAll().startsWith("BEGIN:VCALENDAR"));
        QCOMPARE(feed.backend.requestsTo("/api/calendar/feed/issue"), 1);

        feed.backend.feedStatus = 200;
        feed.backend.feed = "BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n";
        feed.model->saveCalendarFile(QUrl::fromLocalFile(dir.filePath("missing/folder/schedule.ics")));
        feed.settle();
        QVERIFY(feed.model->errorMessage().startsWith("Couldn't save the calendar file: "));
    }

    // The progress header stays hidden and silent until the summary comes; then it reads as one
    // line, and a later failure keeps the last good figures.
    void progressHeader() {
        ScriptedHttpServer server;
        server.enqueue(ScriptedResponse::json(500, "summary unavailable"));
        server.enqueue(ScriptedResponse::json(
            200, R"({"total_xp":1320,"level":4,"current_level_xp":120,"next_level_xp":300,"streak":6,)"
                 R"("credits":9007199254740992})"));
        server.enqueue(ScriptedResponse::json(500, "summary unavailable"));
        ProgressHeaderModel model(scriptedClient(server));
        QSignalSpy changes(&model, &ProgressHeaderModel::progressChanged);

        model.load();
        QTRY_VERIFY(!model.isLoading());
        QVERIFY(!model.hasProgress());
        QVERIFY(model.accessibleLabel().isEmpty());
        QVERIFY(changes.isEmpty());

        model.load();
        QVERIFY(model.isLoading());
        model.load(); // not twice
        QTRY_VERIFY(model.hasProgress());
        QCOMPARE(changes.size(), 1);
        QCOMPARE(model.accessibleLabel(),
                 "Level 4, 120 of 300 XP to next level, 6 day streak, 9007199254740992 credits");
        QCOMPARE(model.levelProgress(), 0.4);

        model.load();
        QTRY_VERIFY(!model.isLoading());
        QCOMPARE(server.requestCount(), 3);
        QVERIFY(model.hasProgress());
        QCOMPARE(model.accessibleLabel(),
                 "Level 4, 120 of 300 XP to next level, 6 day streak, 9007199254740992 credits");
        for (const RecordedRequest& r : server.requests())
            QCOMPARE(r.target, "/api/gamification/credits");
    }

    // The Scholar Badge shows in the header and its spoken line once owned; a purchase anywhere
    // loads the figures again.
    void progressHeaderBadge() {
        ScriptedHttpServer server;
        const QByteArray figures = R"({"total_xp":520,"level":4,"current_level_xp":20,"next_level_xp":400,)"
                                   R"("streak":2,"credits":10)";
        server.enqueue(ScriptedResponse::json(200, figures + R"(,"scholar_badge":false})"));
        server.enqueue(ScriptedResponse::json(200, figures + R"(,"scholar_badge":true})"));
        ProgressHeaderModel model(scriptedClient(server));
        AppContext context(server.baseUrl(), {});
        model.setContext(&context);
        model.load();
        QTRY_VERIFY(model.hasProgress());
        QCOMPARE(model.badgeText(), QString());
        QCOMPARE(model.accessibleLabel(), "Level 4, 20 of 400 XP to next level, 2 day streak, 10 credits");
        Q_EMIT context.rewardsChanged();
        QTRY_COMPARE(model.badgeText(), QStringLiteral("Scholar"));
        QCOMPARE(model.accessibleLabel(),
                 "Level 4, 20 of 400 XP to next level, 2 day streak, 10 credits, Scholar Badge");
        QCOMPARE(server.requestCount(), 2);
    }
};

QTEST_GUILESS_MAIN(StudyTest)
#include "tst_Study.moc"
