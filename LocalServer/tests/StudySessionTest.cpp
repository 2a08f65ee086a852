#include "Json.h"
#include "StudySessions/EndStudySessionRequest.h"
#include "StudySessions/StartStudySessionRequest.h"
#include "StudySessions/StudySessionResponse.h"
#include "TestServer.h"

#include <QJsonDocument>
#include <QTest>
#include <memory>

// Timed study sessions over HTTPS, with the app's own records on both sides of the wire. The
// server's clock stands still unless a test moves it, so session lengths are exact.
class StudySessionTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestServer> server;
    TestServer::Device device;
    QString token;

    template <class Record> static QJsonObject object(const Record& record) {
        return QJsonDocument::fromJson(json::encode(record)).object();
    }

    TestServer::Reply start(const QJsonObject& body) {
        return server->api("POST", "/api/gamification/study/session/start", token, body);
    }
    TestServer::Reply end(const QJsonObject& body) {
        return server->api("POST", "/api/gamification/study/session/end", token, body);
    }
    QString startSession() {
        const TestServer::Reply reply =
            start(object(StartStudySessionRequest{device.userId, std::nullopt, "built_in_timer"}));
        return reply.status == 200 ? json::decode<StudySessionResponse>(reply.body).sessionId : QString();
    }
    StudySessionResponse endSession(const QString& sessionId, std::optional<int> activeSeconds) {
        const TestServer::Reply reply =
            end(object(EndStudySessionRequest{device.userId, sessionId, std::nullopt, activeSeconds}));
        if (reply.status != 200)
            qWarning() << reply.status << reply.body;
        return json::decode<StudySessionResponse>(reply.body);
    }
    int studyMinutes() {
        return server->api("GET", "/api/gamification/credits", token).json().value("study_minutes").toInt(-1);
    }

private slots:
    void init() {
        server = std::make_unique<TestServer>();
        server->setTime(QDateTime(QDate(2026, 3, 7), QTime(15, 0), Qt::UTC));
        QVERIFY(server->start());
        device = server->signUp("focus@example.com", "deep-work-all-day-1");
        token = server->sessionToken(device);
    }
    void cleanup() { server.reset(); }

    // A session counts the seconds the app reports, never more than it lasted, and ends once.
    void sessionsCountAtMostTheirLengthAndEndOnce() {
        QCOMPARE(studyMinutes(), 0);
        const QString focus = startSession();
        QVERIFY(!focus.isEmpty());
        server->advanceClock(30 * 60 * 1000);
        token = server->sessionToken(device);
        const StudySessionResponse ended = endSession(focus, 25 * 60);
        QCOMPARE(ended.sessionId, focus);
        QCOMPARE(ended.durationMinutes, 25);
        // Ending again answers the first ending and changes nothing.
        QCOMPARE(endSession(focus, 29 * 60).durationMinutes, 25);
        QCOMPARE(studyMinutes(), 25);

        // Ten minutes of session cannot report an hour; without a count it is all of it.
        const QString claimed = startSession();
        const QString whole = startSession();
        QVERIFY(claimed != whole);
        server->advanceClock(10 * 60 * 1000 + 20 * 1000);
        token = server->sessionToken(device);
        QCOMPARE(endSession(claimed, 3600).durationMinutes, 10);
        QCOMPARE(endSession(whole, std::nullopt).durationMinutes, 10);
        QCOMPARE(studyMinutes(), 25 + 10 + 10);
        // A session ended at once studied nothing.
        QCOMPARE(endSession(startSession(), 90).durationMinutes, 0);
    }

    // Requests that name another user, another way of measuring, another user's session or a
    // number that is no count of seconds are refused, and nothing is counted for them.
    void requestsAreChecked() {
        const QJsonObject valid{{"user_id", device.userId}, {"verification_method", "built_in_timer"}};
        const auto with = [](QJsonObject body, const QString& key, const QJsonValue& value) {
            if (value.isUndefined())
                body.remove(key);
            else
                body.insert(key, value);
            return body;
        };
        QCOMPARE(start(with(valid, "user_id", "user_someone_else")).status, 403);
        QCOMPARE(start(with(valid, "verification_method", "self_reported")).status, 400);
        QCOMPARE(start(with(valid, "verification_method", QJsonValue::Undefined)).status, 400);
        QCOMPARE(start(with(valid, "course_id", "course_nope")).status, 404);
        QCOMPARE(start(with(valid, "course_id", 12)).status, 400);
        const QString courseId = server->addCourse(token, "BIO 110");
        QCOMPARE(start(with(valid, "course_id", courseId)).status, 200);

        const QString sessionId = startSession();
        const QJsonObject ending{
            {"user_id", device.userId}, {"session_id", sessionId}, {"active_seconds", 60}};
        QCOMPARE(end(with(ending, "user_id", "user_someone_else")).status, 403);
        QCOMPARE(end(with(ending, "session_id", "study_nope")).status, 404);
        QCOMPARE(end(with(ending, "session_id", QJsonValue::Undefined)).status, 400);
        QCOMPARE(end(with(ending, "active_seconds", -1)).status, 400);
        QCOMPARE(end(with(ending, "active_seconds", 2.5)).status, 400);
        QCOMPARE(end(with(ending, "active_seconds", "60")).status, 400);
        QCOMPARE(end(with(ending, "notes", QString(2001, 'x'))).status, 400);

        // Another student can neither end this session nor learn that it exists.
        const TestServer::Device other = server->signUp("other@example.com", "deep-work-all-day-2");
        const TestServer::Reply foreign =
            server->api("POST", "/api/gamification/study/session/end", server->sessionToken(other),
                        {{"user_id", other.userId}, {"session_id", sessionId}, {"active_seconds", 0}});
        QCOMPARE(foreign.status, 404);
        QCOMPARE(server->api("POST", "/api/gamification/study/session/start", {}, valid).status, 401);
        QCOMPARE(studyMinutes(), 0);
    }
};

QTEST_MAIN(StudySessionTest)
#include "StudySessionTest.moc"
