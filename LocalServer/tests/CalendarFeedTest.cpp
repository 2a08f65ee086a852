#include "Library/LibraryStore.h"
#include "RawExchange.h"
#include "SampleDocuments.h"
#include "ServerContext.h"
#include "TestServer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <QTest>
#include <libical/ical.h>
#include <memory>

namespace {

struct ComponentFree {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

// Properties libical adds where it could not make sense of the text it parsed.
int parseErrors(icalcomponent* component) {
    int errors = icalcomponent_count_properties(component, ICAL_XLICERROR_PROPERTY);
    for (icalcomponent* child = icalcomponent_get_first_component(component, ICAL_ANY_COMPONENT); child;
         child = icalcomponent_get_next_component(component, ICAL_ANY_COMPONENT))
        errors += parseErrors(child);
    return errors;
}

QList<icalcomponent*> eventsOf(icalcomponent* calendar) {
    QList<icalcomponent*> events;
    for (icalcomponent* event = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); event;
         event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT))
        events.append(event);
    return events;
}

QSet<QString> uidsOf(icalcomponent* calendar) {
    QSet<QString> uids;
    for (icalcomponent* event : eventsOf(calendar))
        uids.insert(QString::fromUtf8(icalcomponent_get_uid(event)));
    return uids;
}

icalcomponent* eventWithUid(icalcomponent* calendar, const QString& uid) {
    for (icalcomponent* event : eventsOf(calendar)) {
        if (QString::fromUtf8(icalcomponent_get_uid(event)) == uid)
            return event;
    }
    return nullptr;
}

QString xProperty(icalcomponent* component, const char* name) {
    for (icalproperty* property = icalcomponent_get_first_property(component, ICAL_X_PROPERTY); property;
         property = icalcomponent_get_next_property(component, ICAL_X_PROPERTY)) {
        if (qstrcmp(icalproperty_get_x_name(property), name) == 0)
            return QString::fromUtf8(icalproperty_get_x(property));
    }
    return {};
}

} // namespace

// The study schedule over HTTPS: the preview the app shows, and the feed calendar apps subscribe
// to, read back with libical. The server's clock stands on Wednesday, September 16, 2026, 12:00 UTC.
class CalendarFeedTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestServer> server;
    QString token;

    QString addCourse(const QJsonObject& classInfo) {
        const QString courseId =
            server->api("POST", "/api/class-info", token, classInfo).json()["course_id"].toString();
        server->api("POST", "/api/generate-study-plan", token, {{"course_id", courseId}});
        return courseId;
    }

    // Cell Biology, which began on Tuesday, September 8 and meets Mon/Wed: eight weeks, the last
    // two after the clocks go back in Berlin (October 25). Economics, undated, meeting Tue/Thu:
    // two weeks from the week it was added.
    void addTwoCourses() {
        QJsonArray topics;
        for (const char* topic :
             {"Cells", "Membranes", "Genes", "Proteins", "Enzymes", "Energy", "Signals", "Review"})
            topics.append(topic);
        addCourse({{"class_title", "BIOL 201"},
                   {"class_date", "September 8, 2026"},
                   {"class_time", "Mon/Wed 10am"},
                   {"topics", topics}});
        addCourse({{"class_title", "ECON 200"},
                   {"class_time", "TTh 2pm"},
                   {"topics", QJsonArray{"Supply", "Demand"}}});
    }

    QString issueFeed(const QString& bearer) {
        const QJsonObject issued = server->api("POST", "/api/calendar/feed/issue", bearer).json();
        return issued.value("https_url").toString();
    }

    Component fetchCalendar(const QString& url, TestServer::Reply* reply = nullptr) {
        const TestServer::Reply fetched = server->send("GET", url);
        if (reply)
            *reply = fetched;
        if (fetched.status != 200)
            return nullptr;
        return Component(icalparser_parse_string(fetched.body.constData()));
    }

private slots:
    void init() {
        server = std::make_unique<TestServer>();
        server->setTime(QDateTime(QDate(2026, 9, 16), QTime(12, 0), Qt::UTC));
        QVERIFY(server->start());
        token = server->sessionToken(server->signUp("planner@example.com", "study-hard-1"));
    }
    void cleanup() { server.reset(); }

    void previewListsTheComingEventsInTheUsersZone() {
        const QJsonObject empty = server->api("GET", "/api/calendar/preview", token).json();
        QCOMPARE(empty.value("timezone").toString(), "UTC");
        QCOMPARE(empty.value("timezone_source").toString(), "default");
        QCOMPARE(empty.value("events").toArray().size(), 0);
        QCOMPARE(empty.value("counts").toObject().value("total").toInt(), 0);

        QCOMPARE(server->api("PATCH", "/api/user/timezone", token, {{"timezone", "Europe/Berlin"}}).status,
                 200);
        addTwoCourses();
        const TestServer::Reply reply = server->api("GET", "/api/calendar/preview", token);
        QCOMPARE(reply.status, 200);
        const QJsonObject preview = reply.json();
        QCOMPARE(preview.value("timezone").toString(), "Europe/Berlin");
        QCOMPARE(preview.value("timezone_source").toString(), "profile");
        QCOMPARE(preview.value("preview_tier").toBool(true), false);
        // Over by Wednesday noon: Cell Biology's first week with its two blocks, and Tuesday's
        // block of its second week. Economics studies Wed/Fri, so today's 18:00 block is to come.
        QCOMPARE(preview.value("counts").toObject(), (QJsonObject{{"plan_weeks", 9},
                                                                  {"study_blocks", 17},
                                                                  {"courses", 2},
                                                                  {"total", 26},
                                                                  {"skipped_finished", 4},
                                                                  {"locked", 0}}));
        const QJsonArray events = preview.value("events").toArray();
        QCOMPARE(events.size(), 26);
        QDateTime previous;
        for (const QJsonValue& value : events) {
            const QDateTime start = QDateTime::fromString(value["starts_at"].toString(), Qt::ISODate);
            QVERIFY2(!previous.isValid() || previous <= start, qPrintable(value["starts_at"].toString()));
            previous = start;
        }
        // The courses were added in the same millisecond: their weeks starting together come in
        // either order.
        const QJsonObject first =
            events[events[0]["title"].toString() == "Week 2: Membranes" ? 0 : 1].toObject();
        QCOMPARE(first.value("title").toString(), "Week 2: Membranes");
        QCOMPARE(first.value("kind").toString(), "plan_week");
        QCOMPARE(first.value("all_day").toBool(), true);
        QCOMPARE(first.value("starts_at").toString(), "2026-09-14T00:00:00+02:00");
        QCOMPARE(first.value("ends_at").toString(), "2026-09-21T00:00:00+02:00");
        QVERIFY(first.value("description").toString().startsWith("Read the material on "));
        const QJsonObject today = events[2].toObject();
        QCOMPARE(today.value("title").toString(), "Study block: Supply");
        QCOMPARE(today.value("kind").toString(), "study_block");
        QCOMPARE(today.value("all_day").toBool(), false);
        QCOMPARE(today.value("starts_at").toString(), "2026-09-16T18:00:00+02:00");
        QCOMPARE(today.value("ends_at").toString(), "2026-09-16T18:45:00+02:00");
        const QJsonObject last = events.last().toObject();
        QCOMPARE(last.value("title").toString(), "Study block: Review");
        QCOMPARE(last.value("starts_at").toString(), "2026-10-29T18:00:00+01:00");

        QCOMPARE(server->send("GET", "/api/calendar/preview").status, 401);
    }

    void feedReadsBackWithLibical() {
        server->api("PATCH", "/api/user/timezone", token, {{"timezone", "Europe/Berlin"}});
        addTwoCourses();
        const QJsonObject issued = server->api("POST", "/api/calendar/feed/issue", token).json();
        const QString https = issued.value("https_url").toString();
        QVERIFY(https.startsWith(server->url("/calendar/")));
        QVERIFY(https.endsWith(".ics"));
        QCOMPARE(issued.value("webcal_url").toString(), "webcal://" + https.mid(8));
        QVERIFY(!issued.value("refresh_note").toString().isEmpty());

        TestServer::Reply reply;
        const Component calendar = fetchCalendar(https, &reply);
        QVERIFY(calendar);
        QCOMPARE(reply.header("content-type"), "text/calendar; charset=utf-8");
        QCOMPARE(icalcomponent_isa(calendar.get()), ICAL_VCALENDAR_COMPONENT);
        QCOMPARE(parseErrors(calendar.get()), 0);
        QVERIFY(icalrestriction_check(calendar.get()));
        QCOMPARE(parseErrors(calendar.get()), 0);
        QCOMPARE(
            icalproperty_get_version(icalcomponent_get_first_property(calendar.get(), ICAL_VERSION_PROPERTY)),
            "2.0");
        QCOMPARE(icalcomponent_get_method(calendar.get()), ICAL_METHOD_PUBLISH);
        QCOMPARE(xProperty(calendar.get(), "X-WR-CALNAME"), "Orbelo study plan");
        QCOMPARE(xProperty(calendar.get(), "X-WR-TIMEZONE"), "Europe/Berlin");
        QCOMPARE(xProperty(calendar.get(), "X-PUBLISHED-TTL"), "PT6H");
        icalproperty* refresh =
            icalcomponent_get_first_property(calendar.get(), ICAL_REFRESHINTERVAL_PROPERTY);
        QVERIFY(refresh);
        QCOMPARE(icaldurationtype_as_int(icalproperty_get_refreshinterval(refresh)), 6 * 3600);
        icaltimezone* berlin = icalcomponent_get_timezone(calendar.get(), "Europe/Berlin");
        QVERIFY(berlin);

        // Every event, the finished ones too: 8 + 2 weeks, each with two blocks.
        QCOMPARE(eventsOf(calendar.get()).size(), 30);
        const QSet<QString> uids = uidsOf(calendar.get());
        QCOMPARE(uids.size(), 30);
        const QString courseId = [&] {
            const QJsonArray courses =
                server->api("GET", "/api/bootstrap", token).json()["courses"].toArray();
            for (const QJsonValue& course : courses) {
                if (course["course_name"].toString() == "BIOL 201")
                    return course["course_id"].toString();
            }
            return QString();
        }();
        icalcomponent* week = eventWithUid(calendar.get(), courseId + ":week:8@orbelo.local");
        QVERIFY(week);
        const icaltimetype weekStart = icalcomponent_get_dtstart(week);
        QVERIFY(icaltime_is_date(weekStart));
        QCOMPARE(QString::fromUtf8(icaltime_as_ical_string(weekStart)), "20261026");
        QCOMPARE(QString::fromUtf8(icaltime_as_ical_string(icalcomponent_get_dtend(week))), "20261102");
        QCOMPARE(icalcomponent_get_summary(week), "Week 8: Review");
        // Study blocks at 18:00 Berlin time: 16:00 UTC in summer time, 17:00 after it.
        for (const auto& [uid, utcHour] :
             {std::pair{":week:7:block:1", 16}, std::pair{":week:8:block:1", 17}}) {
            icalcomponent* block = eventWithUid(calendar.get(), courseId + uid + "@orbelo.local");
            QVERIFY(block);
            icalproperty* start = icalcomponent_get_first_property(block, ICAL_DTSTART_PROPERTY);
            QCOMPARE(icalproperty_get_parameter_as_string(start, "TZID"), "Europe/Berlin");
            const icaltimetype local = icalproperty_get_dtstart(start);
            QCOMPARE(local.hour, 18);
            const QDateTime utc =
                QDateTime::fromSecsSinceEpoch(icaltime_as_timet_with_zone(local, berlin), Qt::UTC);
            QCOMPARE(utc.time().hour(), utcHour);
            QCOMPARE(icaldurationtype_as_int(
                         icaltime_subtract(icalcomponent_get_dtend(block), icalcomponent_get_dtstart(block))),
                     45 * 60);
        }

        // A second fetch is the same document; with its ETag, a 304 without a body.
        TestServer::Reply again;
        const Component second = fetchCalendar(https, &again);
        QCOMPARE(again.body, reply.body);
        const QByteArray etag = reply.header("etag");
        QVERIFY(!etag.isEmpty());
        const TestServer::Reply unchanged = server->send("GET", https, {}, {{"If-None-Match", etag}});
        QCOMPARE(unchanged.status, 304);
        QVERIFY(unchanged.body.isEmpty());
        // A new course changes the document and its ETag.
        addCourse({{"class_title", "HIST 110"}, {"topics", QJsonArray{"Rome"}}});
        const TestServer::Reply changed = server->send("GET", https, {}, {{"If-None-Match", etag}});
        QCOMPARE(changed.status, 200);
        QVERIFY(changed.header("etag") != etag);
        // So does a new time zone, which moves every study block.
        const QByteArray before = changed.header("etag");
        server->api("PATCH", "/api/user/timezone", token, {{"timezone", "America/Chicago"}});
        const TestServer::Reply moved = server->send("GET", https, {}, {{"If-None-Match", before}});
        QCOMPARE(moved.status, 200);
        QVERIFY(moved.body.contains("TZID=America/Chicago:"));

        // A new link: the old one is gone at once, the events keep their UIDs.
        const QString replaced = issueFeed(token);
        QVERIFY(replaced != https);
        QCOMPARE(server->send("GET", https).status, 404);
        const Component reissued = fetchCalendar(replaced);
        QVERIFY(reissued);
        QVERIFY(uidsOf(reissued.get()).contains(uids));
        QCOMPARE(uidsOf(reissued.get()).size(), 33);
    }

    void headAnswersHeadersOnly() {
        addCourse({{"class_title", "HIST 110"}, {"topics", QJsonArray{"Rome"}}});
        const QString https = issueFeed(token);
        const QByteArray full = server->send("GET", https).body;
        const QByteArray request =
            "HEAD " + QUrl(https).path().toLatin1() + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
        const RawExchange head = RawExchange::run(
            server->server().port(), server->server().certificatePath(), {request},
            [](const QByteArray& received, QSslSocket&) { return received.contains("\r\n\r\n"); });
        QVERIFY(head.received.startsWith("HTTP/1.1 200 "));
        QVERIFY(head.received.contains("Content-Length: " + QByteArray::number(full.size()) + "\r\n"));
        QVERIFY(head.received.endsWith("\r\n\r\n"));
    }

    void revokedAndForeignLinksShowNothing() {
        addCourse({{"class_title", "HIST 110"}, {"topics", QJsonArray{"Rome", "Byzantium"}}});
        const QString mine = issueFeed(token);

        // Another user, without courses: a valid calendar with no events, never this user's.
        const QString otherToken = server->sessionToken(server->signUp("other@example.com", "study-hard-2"));
        const QString theirs = issueFeed(otherToken);
        QVERIFY(theirs != mine);
        const Component empty = fetchCalendar(theirs);
        QVERIFY(empty);
        QCOMPARE(parseErrors(empty.get()), 0);
        QCOMPARE(eventsOf(empty.get()).size(), 0);
        QVERIFY(icalcomponent_get_first_property(empty.get(), ICAL_VERSION_PROPERTY));
        const Component own = fetchCalendar(mine);
        QCOMPARE(eventsOf(own.get()).size(), 6);

        // Only a hash of the token is stored.
        const QString tokenText = QUrl(mine).fileName().chopped(4);
        QCOMPARE(tokenText.size(), 43);
        const auto stored = server->server().context().db.rows("SELECT token_hash FROM calendar_feeds");
        QCOMPARE(stored.size(), 2);
        for (const QVariantMap& row : stored)
            QVERIFY(!row.value("token_hash").toString().contains(tokenText));

        // Lookalikes of a link are not links.
        for (const QString& path :
             QStringList{"/calendar/" + tokenText, "/calendar/" + tokenText.chopped(1) + "A.ics",
                         "/calendar/x.ics", "/calendar/" + tokenText + ".ics.ics"})
            QCOMPARE(server->send("GET", path).status, 404);

        const TestServer::Reply revoked = server->api("POST", "/api/calendar/feed/revoke", token);
        QCOMPARE(revoked.json(), (QJsonObject{{"revoked", true}}));
        QCOMPARE(server->send("GET", mine).status, 404);
        QCOMPARE(server->api("POST", "/api/calendar/feed/revoke", token).json().value("revoked").toBool(true),
                 false);
        QCOMPARE(server->send("GET", theirs).status, 200);

        // Deleting the account ends its link.
        QCOMPARE(server->api("DELETE", "/api/user/account", otherToken).status, 200);
        QCOMPARE(server->send("GET", theirs).status, 404);
    }

    void textSurvivesTheRoundTrip() {
        const QString course = "Ökonomie — Einführung in die Volkswirtschaftslehre für Erstsemester 🎓";
        const QString topic =
            "Märkte, Preise; Wettbewerb: «Grundlagen» und \\ Sonderfälle, die über eine Zeile gehen";
        addCourse({{"class_title", course}, {"topics", QJsonArray{topic}}});
        const TestServer::Reply reply = server->send("GET", issueFeed(token));
        const Component calendar(icalparser_parse_string(reply.body.constData()));
        QVERIFY(calendar);
        QCOMPARE(parseErrors(calendar.get()), 0);
        // Lines are folded at 75 octets, never inside a character.
        for (const QByteArray& line : reply.body.split('\n')) {
            QVERIFY(line.size() <= 76);
            QVERIFY(QString::fromUtf8(line).toUtf8() == line);
        }
        const QList<icalcomponent*> events = eventsOf(calendar.get());
        QCOMPARE(events.size(), 3);
        QCOMPARE(QString::fromUtf8(icalcomponent_get_summary(events[0])), "Week 1: " + topic);
        QVERIFY(QString::fromUtf8(icalcomponent_get_description(events[0])).startsWith(course + "\n\n"));
    }

    void plansStoredWithoutDatesGetThemFromTheCourse() {
        const QString courseId = addCourse({{"class_title", "HIST 110"}, {"topics", QJsonArray{"Rome"}}});
        // As stored before plans had dates: weeks with topics and tasks only, made on Tuesday, Sept 15.
        const QDateTime created(QDate(2026, 9, 15), QTime(9, 0), Qt::UTC);
        server->server().context().db.exec(
            "UPDATE courses SET created_at = ?, study_plan = ? WHERE id = ?",
            {created.toMSecsSinceEpoch(),
             R"({"course_id":"x","course_name":"HIST 110","generated_at":"2026-09-04T09:00:00.000Z",)"
             R"("weeks":[{"week":1,"topic":"Rome","tasks":["Read"]},{"week":2,"topic":"Byzantium","tasks":[]}]})",
             courseId});
        const QJsonArray events =
            server->api("GET", "/api/calendar/preview", token).json()["events"].toArray();
        // Tuesday's block is over.
        QCOMPARE(events.size(), 5);
        QCOMPARE(events[0]["title"].toString(), "Week 1: Rome");
        QCOMPARE(events[0]["starts_at"].toString(), "2026-09-14T00:00:00Z");
        QCOMPARE(events[1]["starts_at"].toString(), "2026-09-17T18:00:00Z");

        // The week it was made in is the student's: a minute either side of their midnight between
        // Sunday, September 13 and Monday, east and west of UTC.
        ServerContext& context = server->server().context();
        QVariantMap course =
            *context.db.row("SELECT user_id, info, study_plan FROM courses WHERE id = ?", {courseId});
        const QJsonObject undated =
            QJsonDocument::fromJson(course.value("study_plan").toByteArray()).object();
        const struct {
            const char* zone;
            QDateTime created;
            const char* monday;
        } weeks[] = {
            {"Pacific/Auckland", QDateTime(QDate(2026, 9, 13), QTime(11, 59), Qt::UTC), "2026-09-07"},
            {"Pacific/Auckland", QDateTime(QDate(2026, 9, 13), QTime(12, 0), Qt::UTC), "2026-09-14"},
            {"America/Los_Angeles", QDateTime(QDate(2026, 9, 14), QTime(6, 59), Qt::UTC), "2026-09-07"},
            {"America/Los_Angeles", QDateTime(QDate(2026, 9, 14), QTime(7, 0), Qt::UTC), "2026-09-14"},
        };
        for (const auto& [zone, created, monday] : weeks) {
            QCOMPARE(server->api("PATCH", "/api/user/timezone", token, {{"timezone", zone}}).status, 200);
            course.insert("created_at", created.toMSecsSinceEpoch());
            QCOMPARE(LibraryStore(context).datedPlan(course, undated).value("start_date").toString(), monday);
        }
    }

    void syllabusUploadsAreDated() {
        const QString syllabus = "BIOL 201 Cell Biology Syllabus\nInstructor: Dr. Rosalind Franklin\n"
                                 "Meeting times: Tuesdays and Thursdays 9:30am\nOffice hours: Friday 2pm\n"
                                 "Classes begin Tuesday, September 8, 2026.\n"
                                 "Week 1 (Sep 8): Cell structure\nWeek 2 (Sep 15): Membranes\n";
        const QString documentId =
            server->uploadDocument(token, SampleDocuments::pdf({syllabus}), "biol.pdf", "application/pdf");
        QVERIFY(!documentId.isEmpty());
        QCOMPARE(server->waitForProcessing(documentId, token).value("status").toString(), "complete");
        // Typed text with no dates and no weekly topics gets one overview week from this week on.
        const QJsonObject queued =
            server
                ->api(
                    "POST", "/api/process-document", token,
                    {{"document_content", "CHEM 100 Syllabus\nInstructor: Dr. Curie\nGrading: two exams and "
                                          "a final project\nRequired textbook: General Chemistry"},
                     {"source", "ios-pdf-ocr"}})
                .json();
        QCOMPARE(
            server->waitForJob(queued["job_id"].toString(), token)["result"].toObject()["status"].toString(),
            "success");

        const QJsonArray courses = server->api("GET", "/api/bootstrap", token).json()["courses"].toArray();
        QCOMPARE(courses.size(), 2);
        const int biologyAt = courses[0]["course_name"].toString().startsWith("BIOL") ? 0 : 1;
        const QJsonObject biology = courses[biologyAt]["study_plan"].toObject();
        QCOMPARE(courses[biologyAt]["class_information"]["class_date"].toString(), "September 8, 2026");
        QCOMPARE(biology["start_date"].toString(), "2026-09-07");
        QCOMPARE(biology["start_source"].toString(), "class_date");
        const QJsonObject second = biology["weeks"][1].toObject();
        QCOMPARE(second["topic"].toString(), "Membranes");
        QCOMPARE(second["start_date"].toString(), "2026-09-14");
        QCOMPARE(second["study_blocks"][0]["date"].toString(), "2026-09-16");
        QCOMPARE(second["study_blocks"][1]["date"].toString(), "2026-09-18");
        const QJsonObject chemistry = courses[1 - biologyAt]["study_plan"].toObject();
        QCOMPARE(chemistry["start_source"].toString(), "course_created");
        QCOMPARE(chemistry["weeks"].toArray().size(), 1);
        QCOMPARE(chemistry["weeks"][0]["topic"].toString(), "Course overview");
        QCOMPARE(chemistry["weeks"][0]["start_date"].toString(), "2026-09-14");
    }
};

QTEST_MAIN(CalendarFeedTest)
#include "CalendarFeedTest.moc"
