#include "Json.h"
#include "Notifications/DeviceStore.h"
#include "Notifications/MarkAllReadResponse.h"
#include "Notifications/NotificationHub.h"
#include "Notifications/NotificationsResponse.h"
#include "Notifications/UnreadCountResponse.h"
#include "ServerContext.h"
#include "Storage/SecretHash.h"
#include "TestServer.h"

#include <QMutex>
#include <QTest>
#include <QTimeZone>
#include <memory>

// The notifications inbox and push devices over HTTPS, decoded with the app's own records. The
// server's clock starts on Saturday, March 7, 2026, 15:00 UTC; the student lives in New York
// (UTC-5 that night), so their day ends five hours after UTC's.
class NotificationsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestServer> server;
    TestServer::Device device;
    QString token;
    QString courseId;

    ServerContext& context() { return server->server().context(); }

    // Session tokens last a minute, so a fresh one is taken with every move of the clock.
    void setTime(const QDateTime& moment) {
        server->setTime(moment);
        token = server->sessionToken(device);
    }

    NotificationsResponse inbox(const QString& bearer, int limit = 50) {
        const TestServer::Reply reply =
            server->api("GET", "/api/notifications?limit=" + QString::number(limit), bearer);
        if (reply.status != 200)
            qWarning() << reply.status << reply.body;
        return json::decode<NotificationsResponse>(reply.body);
    }
    NotificationsResponse inbox() { return inbox(token); }
    int unread(const QString& bearer) {
        return json::decode<UnreadCountResponse>(
                   server->api("GET", "/api/notifications/unread-count", bearer).body)
            .count;
    }
    int markRead(const QString& id, const QString& bearer) {
        return server->api("PATCH", "/api/notifications/" + id + "/read", bearer).status;
    }
    // Completes `quiz` (TestServer::issueQuiz), or a new one of `total` questions with `correct` right.
    TestServer::Reply completeQuiz(const QString& attemptId, int correct, int total, const QString& course,
                                   QJsonObject quiz = {}) {
        if (quiz.isEmpty())
            quiz = server->issueQuiz(device, total, correct, "medium", course);
        QJsonObject body{{"user_id", device.userId},         {"quiz_id", quiz.value("quiz_id")},
                         {"answers", quiz.value("answers")}, {"quiz_score", 100.0 * correct / total},
                         {"quiz_difficulty", "medium"},      {"questions_correct", correct},
                         {"total_questions", total}};
        if (!attemptId.isEmpty())
            body.insert("attempt_id", attemptId);
        if (!course.isEmpty())
            body.insert("course_id", course);
        return server->api("POST", "/api/gamification/quiz/complete", token, body);
    }
    void addDueCards(const QString& course, int count) {
        for (int i = 0; i < count; ++i)
            QVERIFY(context().db.exec(
                "INSERT INTO flashcards (user_id, id, source, course_id, front, back, created_at)"
                " VALUES (?, ?, 'generated', ?, 'term', 'definition', ?)",
                {device.userId, course + QString::number(i), course, context().nowMs()}));
    }
    TestServer::Reply registerDevice(const QString& bearer, const QJsonObject& body) {
        return server->api("POST", "/api/mobile/devices/register", bearer, body);
    }

private slots:
    void init() {
        server = std::make_unique<TestServer>();
        server->setTime(QDateTime(QDate(2026, 3, 7), QTime(15, 0), Qt::UTC));
        QVERIFY(server->start());
        device = server->signUp("inbox@example.com", "notified-often-1");
        token = server->sessionToken(device);
        QCOMPARE(server->api("PATCH", "/api/user/timezone", token, {{"timezone", "America/New_York"}}).status,
                 200);
        courseId = server->addCourse(token, "CHEM 101");
        QVERIFY(!courseId.isEmpty());
    }
    void cleanup() { server.reset(); }

    void aCompletedQuizPostsItsResultOnceForItsCourseAndTopic() {
        int heard = 0;
        context().notifications->addListener(device.userId, [&heard](const QJsonObject&) { ++heard; });
        QCOMPARE(server
                     ->api("POST", "/api/quiz-scores", token,
                           {{"course_id", courseId},
                            {"score", 8},
                            {"total_questions", 10},
                            {"percentage", 80},
                            {"question_type", "true_false"},
                            {"difficulty", "medium"},
                            {"topic", "Acids and bases"},
                            {"attempt_id", "a1"}})
                     .status,
                 200);
        const QJsonObject quiz = server->issueQuiz(device, 10, 8, "medium", courseId);
        QCOMPARE(completeQuiz("a1", 8, 10, courseId, quiz).status, 200);
        // The app retries a completion whose answer it missed: the same award, no second result.
        QCOMPARE(completeQuiz("a1", 8, 10, courseId, quiz).status, 200);

        const NotificationsResponse first = inbox();
        QCOMPARE(first.total, 1);
        QCOMPARE(first.unread, 1);
        QCOMPARE(heard, 1);
        const AppNotification& result = first.notifications.at(0);
        QCOMPARE(result.kind(), NotificationKind::adaptiveQuiz);
        QCOMPARE(result.courseId(), courseId);
        QCOMPARE(result.topic(), QStringLiteral("Acids and bases"));
        QCOMPARE(result.title, "Quiz results: CHEM 101");
        QCOMPARE(result.message,
                 "You scored 80% (8 of 10) on a medium quiz about Acids and bases in CHEM 101.");
        QVERIFY(!result.isRead);
        QVERIFY(!result.readAt);
        QCOMPARE(QDateTime::fromString(*result.createdAt, Qt::ISODateWithMs),
                 QDateTime(QDate(2026, 3, 7), QTime(15, 0), Qt::UTC));

        // Outside a course, and with no attempt to name, every completion is its own result and
        // leads nowhere in particular.
        QCOMPARE(completeQuiz({}, 3, 4, {}).status, 200);
        QCOMPARE(completeQuiz({}, 3, 4, {}).status, 200);
        const NotificationsResponse after = inbox();
        QCOMPARE(after.total, 3);
        QCOMPARE(after.notifications.at(0).courseId(), std::nullopt);
        QCOMPARE(after.notifications.at(0).title, "Quiz results");
        // A refused completion tells nothing.
        QCOMPARE(completeQuiz("a2", 8, 10, {}, {{"quiz_id", "quiz_unknown"}}).status, 404);
        QCOMPARE(inbox().total, 3);
    }

    void aProcessedDocumentTellsThatItsNotesAreReady() {
        auto heard = std::make_shared<std::pair<QMutex, QList<QJsonObject>>>();
        context().notifications->addListener(device.userId, [heard](const QJsonObject& notification) {
            QMutexLocker lock(&heard->first);
            heard->second.append(notification);
        });
        const QString documentId =
            server->uploadDocument(token, "Osmosis is the movement of water across a membrane.\n",
                                   "Week 3 notes.txt", "text/plain", courseId);
        QCOMPARE(server->waitForProcessing(documentId, token).value("status").toString(), "complete");

        const NotificationsResponse inboxNow = inbox();
        QCOMPARE(inboxNow.total, 1);
        const AppNotification& ready = inboxNow.notifications.at(0);
        QCOMPARE(ready.kind(), NotificationKind::sharedDocument);
        QCOMPARE(ready.title, "Your notes are ready");
        QCOMPARE(ready.message, "The notes for “Week 3 notes” are in your Library.");
        const JSONValue document = ready.metadata.value("document_id");
        QVERIFY(document.get<QString>());
        QCOMPARE(*document.get<QString>(), documentId);
        QCOMPARE(ready.courseId(), courseId);

        // Stopping waits for the job thread, which announces once the job's transaction is in.
        server->stop();
        QCOMPARE(heard->second.size(), 1);
        QCOMPARE(heard->second.at(0).value("id").toString(), ready.id);
    }

    void removingADocumentRemovesItsNotification() {
        const QString documentId = server->uploadDocument(token, "Diffusion spreads particles out.\n",
                                                          "diffusion.txt", "text/plain", courseId);
        server->waitForProcessing(documentId, token);
        QCOMPARE(inbox().total, 1);
        QCOMPARE(server->api("DELETE", "/api/documents/" + documentId, token).status, 200);
        QCOMPARE(inbox().total, 0);
    }

    void thePracticeNudgeComesOncePerLocalDay() {
        const QString biology = server->addCourse(token, "BIOL 110");
        addDueCards(biology, 3);
        addDueCards(courseId, 1);
        QCOMPARE(unread(token), 1);
        const NotificationsResponse first = inbox();
        QCOMPARE(first.total, 1);
        const AppNotification& nudge = first.notifications.at(0);
        QCOMPARE(nudge.kind(), NotificationKind::studyTask);
        QCOMPARE(nudge.courseId(), biology);
        QCOMPARE(nudge.message, "4 flashcards are due for review in BIOL 110 and one other course today.");

        // Past midnight in UTC, still Saturday evening in New York.
        setTime(QDateTime(QDate(2026, 3, 8), QTime(4, 59), Qt::UTC));
        QCOMPARE(inbox().total, 1);
        QCOMPARE(unread(token), 1);
        // Sunday in New York: a new day, a new nudge.
        setTime(QDateTime(QDate(2026, 3, 8), QTime(5, 1), Qt::UTC));
        QCOMPARE(unread(token), 2);
        QCOMPARE(inbox().total, 2);

        // No due cards, no nudge: another student's inbox stays empty all day.
        const TestServer::Device other = server->signUp("nocards@example.com", "nothing-due-1");
        QCOMPARE(inbox(server->sessionToken(other)).total, 0);
        QCOMPARE(unread(server->sessionToken(other)), 0);
    }

    // A course's name is the student's text: a marker in it stays as typed.
    void thePracticeNudgeKeepsMarkersInACourseName() {
        const QString zed = server->addCourse(token, "Zed %1 course");
        addDueCards(zed, 3);
        addDueCards(courseId, 1);
        addDueCards(server->addCourse(token, "CHEM 101"), 1);
        QCOMPARE(inbox().notifications.at(0).message,
                 "5 flashcards are due for review in Zed %1 course and 2 other courses today.");
    }

    void markingReadKeepsEachInboxToItsOwner() {
        for (int i = 0; i < 3; ++i) {
            server->advanceClock(1000);
            token = server->sessionToken(device);
            QCOMPARE(completeQuiz({}, i + 1, 4, courseId).status, 200);
        }
        const NotificationsResponse all = inbox();
        QCOMPARE(all.total, 3);
        // Newest first: the last completion scored 3 of 4.
        QVERIFY(all.notifications.at(0).message.startsWith("You scored 75%"));
        QVERIFY(all.notifications.at(2).message.startsWith("You scored 25%"));
        const NotificationsResponse page = inbox(token, 2);
        QCOMPARE(page.notifications.size(), 2);
        QCOMPARE(page.total, 3);
        QCOMPARE(server->api("GET", "/api/notifications?limit=0", token).status, 422);
        QCOMPARE(server->api("GET", "/api/notifications?limit=many", token).status, 422);

        // Another student can neither see nor mark these.
        const TestServer::Device other = server->signUp("other@example.com", "someone-else-1");
        const QString otherToken = server->sessionToken(other);
        const QString newest = all.notifications.at(0).id;
        QCOMPARE(inbox(otherToken).total, 0);
        QCOMPARE(markRead(newest, otherToken), 404);
        QCOMPARE(json::decode<MarkAllReadResponse>(
                     server->api("PATCH", "/api/notifications/read-all", otherToken).body)
                     .count,
                 0);
        QCOMPARE(unread(token), 3);

        QCOMPARE(markRead(newest, token), 200);
        const QString readAt = *inbox().notifications.at(0).readAt;
        server->advanceClock(5000);
        token = server->sessionToken(device);
        // Marking again is harmless and keeps the first read time.
        QCOMPARE(markRead(newest, token), 200);
        QCOMPARE(*inbox().notifications.at(0).readAt, readAt);
        QVERIFY(inbox().notifications.at(0).isRead);
        QCOMPARE(unread(token), 2);
        QCOMPARE(markRead("ntf_unknown", token), 404);

        const auto allRead = json::decode<MarkAllReadResponse>(
            server->api("PATCH", "/api/notifications/read-all", token).body);
        QCOMPARE(allRead.count, 2);
        QCOMPARE(unread(token), 0);
        QCOMPARE(inbox().unread, 0);
        QCOMPARE(
            json::decode<MarkAllReadResponse>(server->api("PATCH", "/api/notifications/read-all", token).body)
                .count,
            0);
    }

    void devicesAreCheckedMoveToTheirNewOwnerAndGoAtSignOut() {
        const QString deviceToken = QString(64, QLatin1Char('a'));
        const QJsonObject linux{{"device_token", deviceToken}, {"platform", "linux"}, {"app_version", "1.4"}};
        const TestServer::Reply registered = registerDevice(token, linux);
        QCOMPARE(registered.status, 200);
        QCOMPARE(registered.json().value("success").toBool(), true);
        QCOMPARE(registerDevice(token, {{"device_token", QString(64, 'b')}, {"platform", "ios"}}).status,
                 200);

        const auto refused = [&](const QString& key, const QJsonValue& value) {
            QJsonObject body = linux;
            body.insert(key, value);
            return registerDevice(token, body).status == 422;
        };
        QVERIFY(refused("device_token", QString(63, 'a')));
        QVERIFY(refused("device_token", QString(65, 'a')));
        QVERIFY(refused("device_token", QString(64, 'A')));
        QVERIFY(refused("device_token", QString(63, 'a') + 'g'));
        QVERIFY(refused("device_token", 42));
        QVERIFY(refused("platform", "android"));
        QVERIFY(refused("platform", "Linux"));
        QVERIFY(refused("app_version", 14));
        QCOMPARE(server->api("POST", "/api/mobile/devices/register", {}, linux).status, 401);

        DeviceStore devices(context());
        const qint64 now = context().nowMs();
        // Only their hashes are kept.
        const QString linuxHash = SecretHash::of(deviceToken);
        const QString iosHash = SecretHash::of(QString(64, 'b'));
        QStringList both = devices.tokenHashesOf(device.userId, now);
        both.sort();
        QStringList expected{linuxHash, iosHash};
        expected.sort();
        QCOMPARE(both, expected);
        // Another student signs in on the same machine: its token is theirs now.
        const TestServer::Device other = server->signUp("next@example.com", "same-machine-1");
        QCOMPARE(registerDevice(server->sessionToken(other), linux).status, 200);
        QCOMPARE(devices.tokenHashesOf(device.userId, now), QStringList{iosHash});
        QCOMPARE(devices.tokenHashesOf(other.userId, now), QStringList{linuxHash});

        // Signing out of the device forgets its push token; the first student's other device stays.
        QCOMPARE(server->form("DELETE", "/v1/client/sessions", {}, other).status, 200);
        QCOMPARE(devices.tokenHashesOf(other.userId, now), QStringList());
        QCOMPARE(context()
                     .db.row("SELECT COUNT(*) AS n FROM devices WHERE user_id = ?", {other.userId})
                     ->value("n")
                     .toInt(),
                 0);
        QCOMPARE(devices.tokenHashesOf(device.userId, now), QStringList{iosHash});
        // An expired session's device is no longer a way to reach its user.
        QCOMPARE(devices.tokenHashesOf(device.userId, now + 8LL * 24 * 3600 * 1000), QStringList());
    }
};

QTEST_MAIN(NotificationsTest)
#include "NotificationsTest.moc"
