#include "Notifications/NotificationHub.h"
#include "PushClient.h"
#include "ServerContext.h"
#include "ServerProcess.h"
#include "TestServer.h"

#include <QDir>
#include <QJsonArray>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QUrl>
#include <memory>

// Push with the stream held by one server process and the notification made by another on the
// same PostgreSQL database: this test's in-process server (A), which runs no jobs, and server
// executables on its data dir (B, which runs them, and C, which does not).
class PushAcrossProcessesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestServer> server;
    std::unique_ptr<ServerProcess> other;
    TestServer::Device student;
    QString token;

    static QString deviceToken(char fill) { return QString(64, QLatin1Char(fill)); }

    QString database() const { return server->server().context().options.database; }
    // A stream of a device of the student's, registered through A and held by `port`'s server.
    // The upgrade is answered before the server lists the stream, so it asks for everything
    // since the registration: what is made in between comes with the replay.
    std::unique_ptr<PushClient> streamOn(quint16 port, char fill) {
        if (server
                ->api("POST", "/api/mobile/devices/register", token,
                      {{"device_token", deviceToken(fill)}, {"platform", "linux"}})
                .status != 200)
            return nullptr;
        auto stream = std::make_unique<PushClient>(port, QDir(server->dataDir()).filePath("server-cert.pem"));
        if (stream->connectDevice(deviceToken(fill), "after=0").status != 101)
            return nullptr;
        return stream;
    }
    static quint16 portOf(const ServerProcess& process) { return quint16(QUrl(process.url("/")).port()); }
    quint16 otherPort() const { return portOf(*other); }
    // A notification stored through A without a word to any process, as if its NOTIFY was lost.
    QString recordUnannounced(const QString& title) {
        const auto record = server->server().context().notifications->record(
            student.userId, {NotificationHub::studyTask, title, "Time to review.", {}, {}, {}});
        return record ? record->value("id").toString() : QString();
    }
    // A notification made through A's API, announced as usual.
    QString quizResult(const QString& attemptId) {
        const auto reply = server->completeQuiz(student, token, attemptId);
        if (reply.status != 200)
            return {};
        const QJsonArray all =
            server->api("GET", "/api/notifications", token).json()["notifications"].toArray();
        return all.isEmpty() ? QString() : all.first()["id"].toString(); // newest first
    }
    static QString idOf(const std::optional<QJsonObject>& message) {
        return message ? message->value("notification").toObject().value("id").toString() : QString();
    }
    // Ends the database connections that LISTEN for push, of both processes.
    bool cutListeners() {
        QSqlDatabase admin = QSqlDatabase::addDatabase("QPSQL", "cut");
        const QUrl url(database());
        admin.setHostName(url.host());
        admin.setPort(url.port());
        admin.setUserName(url.userName());
        admin.setPassword(url.password());
        admin.setDatabaseName(url.path().mid(1));
        bool cut = admin.open();
        QSqlQuery query(admin);
        cut = cut &&
              query.exec(QStringLiteral("SELECT count(pg_terminate_backend(pid)) FROM pg_stat_activity"
                                        " WHERE datname = current_database() AND query = 'LISTEN %1'")
                             .arg(NotificationHub::pushChannel)) &&
              query.next() && query.value(0).toInt() == 2;
        admin.close();
        admin = {};
        QSqlDatabase::removeDatabase("cut");
        return cut;
    }

private slots:
    void init() {
        server = std::make_unique<TestServer>();
        server->options().jobWorkers = 0;
        QVERIFY(server->start());
        if (database().isEmpty())
            QSKIP("push across processes needs PostgreSQL's LISTEN/NOTIFY; SQLite serves one process");
        // On the same data dir, so on the same database.
        other = std::make_unique<ServerProcess>(ORBELO_LOCAL_SERVER, server->dataDir(), nullptr);
        QVERIFY(!other->url("/").isEmpty());
        student = server->signUp("across@example.com", "across-the-hall-1");
        token = server->sessionToken(student);
    }
    void cleanup() {
        other.reset();
        server.reset();
    }

    void aNotificationMadeByOneProcessReachesStreamsHeldByEachOnce() {
        auto onOther = streamOn(otherPort(), 'a');
        auto onThis = streamOn(server->server().port(), 'b');
        QVERIFY(onOther && onThis);

        const QString first = quizResult("across-1");
        const QString second = quizResult("across-2");
        QVERIFY(!first.isEmpty() && !second.isEmpty() && first != second);
        for (PushClient* stream : {onOther.get(), onThis.get()}) {
            const auto one = stream->next();
            const auto two = stream->next();
            QCOMPARE(idOf(one), first);
            QCOMPARE(idOf(two), second);
            QVERIFY(two->value("seq").toInteger() > one->value("seq").toInteger());
        }
        // Nothing twice: the next message on B is the next notification.
        const QString third = quizResult("across-3");
        QCOMPARE(idOf(onOther->next()), third);
    }

    void aStreamIsCaughtUpWhenItsProcessListensAgain() {
        auto stream = streamOn(otherPort(), 'c');
        QVERIFY(stream);
        // Once a notification has come through, B has replayed what the stream was owed.
        const QString before = quizResult("before-the-gap");
        QCOMPARE(idOf(stream->next()), before);
        const QString missed = recordUnannounced("Missed while nobody listened");
        QVERIFY(!missed.isEmpty());

        QVERIFY(cutListeners());
        // B looks again once it listens again, and finds the notification no one announced.
        const auto caughtUp = stream->next();
        QCOMPARE(idOf(caughtUp), missed);
        const QString live = quizResult("after-the-gap");
        const auto next = stream->next();
        QCOMPARE(idOf(next), live);
        QVERIFY(next->value("seq").toInteger() > caughtUp->value("seq").toInteger());
    }

    void notesMadeOnOneProcessReachAStreamOnAThirdForAnUploadThroughAnother() {
        const ServerProcess third(ORBELO_LOCAL_SERVER, server->dataDir(), nullptr, {"--job-workers", "0"});
        QVERIFY(!third.url("/").isEmpty());
        auto stream = streamOn(portOf(third), 'd');
        QVERIFY(stream);

        const QString documentId = server->uploadDocument(
            token, "Osmosis is the movement of water across a membrane.\n", "Week 3 notes.txt", "text/plain");
        QVERIFY(!documentId.isEmpty());
        const auto ready = stream->next();
        QVERIFY(ready);
        const QJsonObject notification = ready->value("notification").toObject();
        QCOMPARE(notification.value("type").toString(), NotificationHub::documentReady);
        QCOMPARE(notification.value("metadata").toObject().value("document_id").toString(), documentId);
        // B is the only process with workers: the job ran there.
        const QJsonObject job = server->waitForProcessing(documentId, token);
        QCOMPARE(job.value("status").toString(), "complete");
        const auto owner = server->server().context().db.row("SELECT lease_owner FROM jobs WHERE id = ?",
                                                             {job.value("job_id").toString()});
        QVERIFY(owner && !owner->value("lease_owner").toString().isEmpty());
    }
};

QTEST_GUILESS_MAIN(PushAcrossProcessesTest)
#include "PushAcrossProcessesTest.moc"
