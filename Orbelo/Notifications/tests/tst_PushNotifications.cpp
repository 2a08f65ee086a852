#include <QtTest>

#include "Common/AppContext.h"
#include "FakeNotifierClient.h"
#include "InMemoryPreferences.h"
#include "NotificationManager.h"
#include "Notifications/NotificationOpening.h"
#include "Notifications/PushRegistration.h"
#include "Notifications/PushedNotificationOpener.h"
#include "Quiz/QuizLaunchRequests.h"
#include "ScriptedClient.h"
#include "ScriptedHttpServer.h"
#include "Shell/NotificationRouting.h"
#include "VirtualClock.h"

#include <QJsonDocument>
#include <QJsonObject>

using Destination = NotificationDestination;

namespace {

const QString token = QStringLiteral("0a") + QString(62, QLatin1Char('f'));

// An unread quiz result for course c1, and a read one for course "gone".
const QByteArray quizResults =
    R"({"notifications":[)"
    R"({"id":"n1","type":"adaptive_quiz","title":"Quiz results","message":"You scored 80%",)"
    R"("is_read":false,"metadata":{"course_id":"c1","topic":"Cells"}},)"
    R"({"id":"n2","type":"adaptive_quiz","title":"Quiz results","message":"You scored 60%",)"
    R"("is_read":true,"metadata":{"course_id":"gone"}}],"total":2,"unread":1})";

int countOf(const ScriptedHttpServer& server, const QByteArray& method, const QByteArray& path) {
    return int(std::count_if(server.requests().cbegin(), server.requests().cend(),
                             [&](const RecordedRequest& r) { return r.method == method && r.path == path; }));
}

ScriptedResponse inboxServer(const RecordedRequest& request) {
    if (request.path == "/api/notifications")
        return ScriptedResponse::json(200, quizResults);
    if (request.path.endsWith("/unread-count"))
        return ScriptedResponse::json(200, R"({"count":0})");
    return ScriptedResponse::json(200, R"({"message":"ok"})");
}

} // namespace

// The push side of the app: registering this device for whoever signs in, and opening a clicked
// pushed notification in the shell.
class PushNotificationsTest : public QObject {
    Q_OBJECT

    async::VirtualClock clock;
    std::unique_ptr<async::ScopedClock> useClock;
    std::shared_ptr<FakeNotifierClient> agent;
    InMemoryPreferences preferences;
    std::unique_ptr<NotificationManager> manager;
    QList<Destination> routed;
    AppContext context{QUrl(), {}};

private Q_SLOTS:
    void initTestCase() {
        connect(&context, &AppContext::notificationSelected, this,
                [this](const NotificationDestination& destination) { routed << destination; });
    }
    void init() {
        useClock = std::make_unique<async::ScopedClock>(clock);
        agent = std::make_shared<FakeNotifierClient>();
        // No bus: no notification server, so the manager itself never asks for a token here.
        manager = std::make_unique<NotificationManager>(agent, QDBusConnection(QStringLiteral("none")),
                                                        preferences);
        NotificationManager::setSharedOverride(manager.get());
        connect(manager.get(), &NotificationManager::studyReminderTapped, &context,
                &AppContext::studyReminderTapped);
        routed.clear();
        QuizLaunchRequests::takePendingCourseId();
    }
    void cleanup() {
        NotificationManager::setSharedOverride(nullptr);
        manager.reset();
        useClock.reset();
    }

    // Only an authorized app registers for remote notifications.
    void onlyAuthorizedRegisters() {
        using Status = NotificationManager::AuthorizationStatus;
        QVERIFY(NotificationManager::registersForRemoteNotifications(Status::authorized));
        QVERIFY(!NotificationManager::registersForRemoteNotifications(Status::denied));
        QVERIFY(!NotificationManager::registersForRemoteNotifications(Status::notDetermined));
        manager->runRegistrationCheck();
        QTRY_VERIFY(manager->authorizationStatus() != Status::notDetermined);
        QVERIFY(!agent->calls.contains(QStringLiteral("DeviceToken")));
    }

    // A token announced while someone is signed in is registered as a Linux device, and then the
    // agent opens the stream, even when the backend refused the registration; signing out stops
    // it. The auth client still loading (no user yet) changes nothing, and a token with nobody
    // signed in is not registered.
    void registersEachSignIn() {
        ScriptedHttpServer server;
        PushRegistration registration(
            *manager, [&server] { return scriptedClient(server); }, QStringLiteral("https://127.0.0.1:9443"),
            QStringLiteral("-----BEGIN CERTIFICATE-----"));
        registration.update(std::nullopt);
        Q_EMIT manager->pushTokenRegistered(token);
        QCOMPARE(server.requestCount(), 0);
        QVERIFY(agent->calls.isEmpty());

        registration.update(QStringLiteral("user_a"));
        server.enqueue(ScriptedResponse::json(200, R"({"success":true})"));
        Q_EMIT manager->pushTokenRegistered(token);
        QTRY_COMPARE(agent->calls, QStringList{"StartPush https://127.0.0.1:9443 +pem"});
        const RecordedRequest& request = server.requests().constFirst();
        QCOMPARE(request.method, QByteArray("POST"));
        QCOMPARE(request.path, QByteArray("/api/mobile/devices/register"));
        const QJsonObject body = QJsonDocument::fromJson(request.body).object();
        QCOMPARE(body.value("device_token").toString(), token);
        QCOMPARE(body.value("platform").toString(), QStringLiteral("linux"));

        registration.update(QStringLiteral("user_a")); // the same user again: nothing new
        registration.update(std::nullopt);
        QTRY_COMPARE(agent->calls.last(), QStringLiteral("StopPush"));

        agent->calls.clear();
        registration.update(QStringLiteral("user_b"));
        server.enqueue(ScriptedResponse::json(500, R"({"detail":"down"})"));
        Q_EMIT manager->pushTokenRegistered(token);
        QTRY_COMPARE(agent->calls, QStringList{"StartPush https://127.0.0.1:9443 +pem"});
        QCOMPARE(countOf(server, "POST", "/api/mobile/devices/register"), 2);
    }

    // Only links naming a notification open one.
    void pushedLinks() {
        QCOMPARE(NotificationOpening::pushedNotificationId(QStringLiteral("notification:n7")),
                 QStringLiteral("n7"));
        QCOMPARE(NotificationOpening::pushedNotificationId(QStringLiteral("quiz-auto-start")), QString());
        QCOMPARE(NotificationOpening::pushedNotificationId(QStringLiteral("notification:")), QString());
        QCOMPARE(NotificationOpening::pushedNotificationId(7), QString());
    }

    // A click on a pushed quiz result opens the quiz set-up for its course and marks it read; a
    // read one routes with no mark; an unknown id leads to Study. Nothing waits for the course
    // list (the quiz set-up checks the course itself). A link waiting when the shell appears is
    // taken and opened.
    void openingPushedNotifications() {
        ScriptedHttpServer server;
        server.setHandler(&inboxServer);
        NotificationManager::shared().openDeepLink(QStringLiteral("notification:n1"));
        PushedNotificationOpener opener(scriptedClient(server), nullptr);
        opener.setContext(&context);
        QTRY_COMPARE(routed.size(), 1);
        QCOMPARE(routed.last(), Destination::quizSetup("c1", QStringLiteral("Cells")));
        QCOMPARE(QuizLaunchRequests::takePendingCourseId(), QStringLiteral("c1"));
        QCOMPARE(countOf(server, "PATCH", "/api/notifications/n1/read"), 1);
        QCOMPARE(manager->pendingDeepLink(), QString());

        manager->openDeepLink(QStringLiteral("notification:n2"));
        QTRY_COMPARE(routed.size(), 2);
        QCOMPARE(routed.last(), Destination::quizSetup("gone"));
        QCOMPARE(countOf(server, "PATCH", "/api/notifications/n2/read"), 0);
        QCOMPARE(countOf(server, "GET", "/api/bootstrap"), 0);

        manager->openDeepLink(QStringLiteral("notification:n9"));
        QTRY_COMPARE(routed.size(), 3);
        QCOMPARE(routed.last(), Destination::study());

        const int before = server.requestCount();
        manager->openDeepLink(QStringLiteral("quiz"));
        QCOMPARE(server.requestCount(), before);
        QCOMPARE(manager->pendingDeepLink(), QStringLiteral("quiz"));
    }
};

QTEST_GUILESS_MAIN(PushNotificationsTest)
#include "tst_PushNotifications.moc"
