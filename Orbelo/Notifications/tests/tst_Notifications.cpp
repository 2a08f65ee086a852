#include <QtTest>

#include "Common/AppContext.h"
#include "Notifications/NotificationsBadge.h"
#include "Notifications/NotificationsModel.h"
#include "Quiz/QuizLaunchRequests.h"
#include "ScriptedClient.h"
#include "ScriptedHttpServer.h"
#include "Shell/NotificationRouting.h"
#include "VirtualClock.h"

using namespace std::chrono_literals;
using Destination = NotificationDestination;

namespace {

// Two notifications: an unread exam for course c1 and a read shared document.
const QByteArray twoNotifications =
    R"({"notifications":[)"
    R"({"id":"n1","type":"exam","title":"Exam on Friday","message":"Practise now","related_id":"c1",)"
    R"("is_read":false,"metadata":{"topic":"Cells"}},)"
    R"({"id":"n2","type":"shared_document","title":"New notes","message":"Ana shared notes",)"
    R"("is_read":true,"metadata":{}}],"total":2,"unread":1})";

const QByteArray noNotifications = R"({"notifications":[],"total":0,"unread":0})";

QList<Destination> routed;

int countOf(const ScriptedHttpServer& server, const QByteArray& method, const QByteArray& path) {
    return int(std::count_if(server.requests().cbegin(), server.requests().cend(),
                             [&](const RecordedRequest& r) { return r.method == method && r.path == path; }));
}

} // namespace

// The unread badge's refresh rules, and the inbox: its states, marking read, and opening.
class NotificationsTest : public QObject {
    Q_OBJECT
    AppContext context{QUrl(), {}};
private Q_SLOTS:
    void initTestCase() {
        connect(&context, &AppContext::notificationSelected, this,
                [](const NotificationDestination& destination) { routed << destination; });
    }
    void init() {
        routed.clear();
        QuizLaunchRequests::takePendingCourseId();
    }

    // Unforced refreshes within 30 seconds make one request; a forced one always does, unless one
    // is running; a failure changes nothing.
    void badgeRefreshRules() {
        async::VirtualClock clock;
        async::ScopedClock useClock(clock);
        ScriptedHttpServer server;
        NotificationsBadge badge(scriptedClient(server));
        QVERIFY(!badge.lastRefresh().isValid());

        server.enqueue(ScriptedResponse::json(200, R"({"count":3})"));
        badge.refresh(false);
        QVERIFY(badge.isRefreshing());
        QTRY_COMPARE(badge.unreadCount(), 3);
        QVERIFY(!badge.isRefreshing());
        QCOMPARE(badge.lastRefresh(), clock.now());
        QCOMPARE(server.requests().at(0).target, QByteArray("/api/notifications/unread-count"));

        clock.advance(29s);
        badge.refresh(false);
        QVERIFY(!badge.isRefreshing());
        QCOMPARE(server.requestCount(), 1);

        // Forced: fetched again, and while that runs nothing else starts.
        server.enqueue(ScriptedResponse::held(ScriptedResponse::json(200, R"({"count":5})")));
        badge.refresh(true);
        QTRY_COMPARE(server.heldCount(), 1);
        badge.refresh(true);
        badge.refresh(false);
        server.releaseHeld();
        QTRY_COMPARE(badge.unreadCount(), 5);
        QCOMPARE(server.requestCount(), 2);

        // The window counts from the last refresh.
        clock.advance(29s);
        badge.refresh(false);
        QCOMPARE(server.requestCount(), 2);
        clock.advance(1s);
        const QDateTime before = badge.lastRefresh();
        server.enqueue(ScriptedResponse::json(500, R"({"error":"down"})"));
        badge.refresh(false);
        QTRY_VERIFY(!badge.isRefreshing());
        QCOMPARE(server.requestCount(), 3);
        QCOMPARE(badge.unreadCount(), 5);
        QCOMPARE(badge.lastRefresh(), before);

        // After the failure the count is still stale, so the next refresh asks again.
        server.enqueue(ScriptedResponse::json(200, R"({"count":0})"));
        badge.refresh(false);
        QTRY_COMPARE(badge.unreadCount(), 0);
        QCOMPARE(server.requestCount(), 4);
    }

    // Loading, then the list; an empty inbox is "Nothing new", not a failure; a failure with
    // nothing to show offers a retry, which loads again.
    void inboxStates() {
        ScriptedHttpServer server;
        NotificationsModel inbox(scriptedClient(server), nullptr);
        inbox.setContext(&context);
        QVERIFY(!inbox.showsEmpty());

        server.enqueue(ScriptedResponse::held(ScriptedResponse::json(200, noNotifications)));
        inbox.load();
        QVERIFY(inbox.isLoading());
        QVERIFY(!inbox.showsEmpty());
        QVERIFY(!inbox.showsFailure());
        QTRY_COMPARE(server.heldCount(), 1);
        QCOMPARE(server.requests().at(0).target,
                 QByteArray("/api/notifications?limit=") + QByteArray::number(NotificationsModel::pageSize));
        server.releaseHeld();
        QTRY_VERIFY(!inbox.isLoading());
        QVERIFY(inbox.showsEmpty());
        QVERIFY(!inbox.showsFailure());
        QVERIFY(!inbox.hasUnread());

        server.enqueue(ScriptedResponse::json(400, R"({"detail":"Bad limit"})"));
        inbox.load();
        QTRY_VERIFY(!inbox.isLoading());
        QVERIFY(inbox.showsFailure());
        QVERIFY(!inbox.showsEmpty());
        QVERIFY(inbox.errorMessage().startsWith("Couldn't load notifications"));

        server.enqueue(ScriptedResponse::json(200, twoNotifications));
        inbox.load();
        QVERIFY(inbox.errorMessage().isEmpty());
        QTRY_COMPARE(inbox.rows()->rowCount(), 2);
        QVERIFY(!inbox.showsFailure());
        QVERIFY(!inbox.showsEmpty());
        QVERIFY(inbox.hasUnread());
        const QModelIndex first = inbox.rows()->index(0);
        QCOMPARE(first.data(NotificationListModel::IsUnreadRole).toBool(), true);
        QCOMPARE(first.data(NotificationListModel::AccessibleNameRole).toString(),
                 QStringLiteral("Unread. Exam on Friday. Practise now"));
        QCOMPARE(inbox.rows()->index(1).data(NotificationListModel::AccessibleNameRole).toString(),
                 QStringLiteral("New notes. Ana shared notes"));

        // A later failure keeps the list and reports the failure as a line.
        server.enqueue(ScriptedResponse::json(400, R"({"detail":"Bad limit"})"));
        inbox.load();
        QTRY_VERIFY(!inbox.isLoading());
        QCOMPARE(inbox.rows()->rowCount(), 2);
        QVERIFY(!inbox.showsFailure());
        QVERIFY(!inbox.errorMessage().isEmpty());
    }

    // An unread notification is marked read before it routes; a read one routes with no call; a
    // failed mark leaves it unread but still routes.
    void openingMarksReadOnlyWhenUnread() {
        async::VirtualClock clock;
        async::ScopedClock useClock(clock);
        ScriptedHttpServer server;
        NotificationsBadge badge(scriptedClient(server));
        NotificationsModel inbox(scriptedClient(server), &badge);
        inbox.setContext(&context);
        server.enqueue(ScriptedResponse::json(200, twoNotifications));
        inbox.load();
        QTRY_COMPARE(inbox.rows()->rowCount(), 2);
        QSignalSpy opened(&inbox, &NotificationsModel::opened);

        server.enqueue(ScriptedResponse::json(400, R"({"detail":"Try later"})"));
        inbox.open(0);
        QTRY_COMPARE(opened.size(), 1);
        QCOMPARE(countOf(server, "PATCH", "/api/notifications/n1/read"), 1);
        QVERIFY(inbox.hasUnread());
        QCOMPARE(routed, QList<Destination>{Destination::quizSetup("c1", QStringLiteral("Cells"))});
        QCOMPARE(QuizLaunchRequests::takePendingCourseId(), QStringLiteral("c1"));

        server.setHandler([](const RecordedRequest& r) {
            return r.path.endsWith("/unread-count") ? ScriptedResponse::json(200, R"({"count":0})")
                                                    : ScriptedResponse::json(200, R"({"message":"ok"})");
        });
        inbox.open(0);
        QTRY_COMPARE(opened.size(), 2);
        QCOMPARE(countOf(server, "PATCH", "/api/notifications/n1/read"), 2);
        QVERIFY(!inbox.hasUnread());
        QVERIFY(!inbox.rows()->index(0).data(NotificationListModel::IsUnreadRole).toBool());
        // The badge follows at once, whatever its freshness.
        QTRY_COMPARE(countOf(server, "GET", "/api/notifications/unread-count"), 1);

        const int before = server.requestCount();
        inbox.open(1);
        QTRY_COMPARE(opened.size(), 3);
        QCOMPARE(server.requestCount(), before);
        QCOMPARE(routed.last(), Destination::library());
    }

    // "Mark all read" makes one call, then every row is read and the badge is fetched again; a
    // failure leaves the rows unread with a line saying so.
    void markAllRead() {
        async::VirtualClock clock;
        async::ScopedClock useClock(clock);
        ScriptedHttpServer server;
        NotificationsBadge badge(scriptedClient(server));
        NotificationsModel inbox(scriptedClient(server), &badge);
        inbox.setContext(&context);
        server.enqueue(ScriptedResponse::json(200, twoNotifications));
        inbox.load();
        QTRY_COMPARE(inbox.rows()->rowCount(), 2);

        server.enqueue(ScriptedResponse::json(400, R"({"detail":"Nope"})"));
        inbox.markAllRead();
        QTRY_VERIFY(!inbox.errorMessage().isEmpty());
        QVERIFY(inbox.hasUnread());

        server.enqueue(ScriptedResponse::json(200, R"({"count":1})"));
        server.enqueue(ScriptedResponse::json(200, R"({"count":0})"));
        inbox.markAllRead();
        QTRY_VERIFY(!inbox.hasUnread());
        QCOMPARE(countOf(server, "PATCH", "/api/notifications/read-all"), 2);
        QTRY_COMPARE(countOf(server, "GET", "/api/notifications/unread-count"), 1);
        QVERIFY(routed.isEmpty());
    }

    // Ages at each step's edge; days are the user's, so "Yesterday" and the year turn at local
    // midnight east and west of UTC. A null time is a missing one.
    void rowAges_data() {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QString>("createdAt");
        QTest::addColumn<QString>("text");
        const auto at = [](const QByteArray& zone, QDate day, QTime time) {
            return QDateTime(day, time, QTimeZone(zone));
        };
        const auto row = [&](const char* name, const QByteArray& zone, const QDateTime& now,
                             const QDateTime& created, const char* text) {
            QTest::newRow(name) << zone << now << created.toUTC().toString(Qt::ISODate) << QString(text);
        };
        const QByteArray utc("UTC"), auckland("Pacific/Auckland"), losAngeles("America/Los_Angeles");
        const QDateTime afternoon = at(utc, QDate(2026, 3, 12), QTime(15, 0));
        row("59 s", utc, afternoon, afternoon.addSecs(-59), "Just now");
        row("60 s", utc, afternoon, afternoon.addSecs(-60), "1 min ago");
        row("59 min 59 s", utc, afternoon, afternoon.addSecs(-3599), "59 min ago");
        row("1 h", utc, afternoon, afternoon.addSecs(-3600), "1 h ago");
        row("23 h 59 min", utc, afternoon, afternoon.addSecs(-86399), "23 h ago");
        row("24 h", utc, afternoon, afternoon.addDays(-1), "Yesterday");
        row("this year", utc, afternoon, at(utc, QDate(2026, 1, 5), QTime(8, 0)), "5 Jan");

        const QDateTime aucklandMidnight = at(auckland, QDate(2026, 3, 12), QTime(0, 0));
        row("Auckland 00:00, yesterday", auckland, aucklandMidnight, aucklandMidnight.addDays(-1),
            "Yesterday");
        row("Auckland 00:00, two days", auckland, aucklandMidnight, aucklandMidnight.addSecs(-86460),
            "10 Mar");
        row("Auckland new year", auckland, at(auckland, QDate(2026, 1, 1), QTime(0, 0)),
            at(auckland, QDate(2025, 12, 30), QTime(12, 0)), "30 Dec 2025");
        const QDateTime losAngelesLate = at(losAngeles, QDate(2026, 3, 12), QTime(23, 59));
        row("Los Angeles 23:59, yesterday", losAngeles, losAngelesLate,
            at(losAngeles, QDate(2026, 3, 11), QTime(0, 0)), "Yesterday");
        row("Los Angeles 23:59, two days", losAngeles, losAngelesLate,
            at(losAngeles, QDate(2026, 3, 10), QTime(23, 59)), "10 Mar");
        row("Los Angeles new year's eve", losAngeles, at(losAngeles, QDate(2025, 12, 31), QTime(23, 59)),
            at(losAngeles, QDate(2025, 12, 29), QTime(12, 0)), "29 Dec");
        QTest::newRow("missing") << utc << afternoon << QString() << QString();
        QTest::newRow("unreadable") << utc << afternoon << QString("yesterday") << QString();
        QTest::newRow("with ms") << utc << afternoon << QString("2025-11-02T08:00:00.123Z")
                                 << QString("2 Nov 2025");
    }
    void rowAges() {
        QFETCH(QByteArray, zone);
        QFETCH(QDateTime, now);
        QFETCH(QString, createdAt);
        QFETCH(QString, text);
        const std::optional<QString> created = createdAt.isNull() ? std::nullopt : std::optional(createdAt);
        QCOMPARE(NotificationListModel::timeText(created, now.toUTC(), QTimeZone(zone)), text);
    }
};

QTEST_GUILESS_MAIN(NotificationsTest)
#include "tst_Notifications.moc"
