#include "ServerContext.h"
#include "ServerProcess.h"
#include "Storage/Database.h"
#include "TestDatabase.h"
#include "TestServer.h"

#include <QDir>
#include <QJsonDocument>
#include <QProcess>
#include <QTest>

// Jobs across crashes: the server executable is made to die at a chosen point of a job, as a
// kill would, and a server started again on the same data dir must find either all of the job's
// writes or none, take the job over once the dead process's lease has run out, finish it once,
// and give up on one that was interrupted twice.
class JobRecoveryTest : public QObject {
    Q_OBJECT

    struct Queued {
        TestServer::Device device;
        QString documentId;
        QString jobId;
    };

    // Signs up and uploads a syllabus whose processing job is still queued when the server stops.
    static Queued queueSyllabus(TestServer& server) {
        server.setJobDelay(24 * 3600 * 1000);
        if (!server.start())
            return {};
        Queued queued;
        queued.device = server.signUp("recovery@example.com", "correct horse battery");
        const QString token = server.sessionToken(queued.device);
        const QByteArray text = "BIO 110 General Biology\nSyllabus\nInstructor: Dr. Rosalind Franklin\n"
                                "Office Hours: Monday 2-4pm\nWeek 1: Cells\nWeek 2: Genetics\n";
        const auto started = server.api(
            "POST", "/api/v2/uploads/document/initiate", token,
            {{"filename", "bio110.txt"}, {"file_size", int(text.size())}, {"content_type", "text/plain"}});
        queued.documentId = started.json().value("document_id").toString();
        server.send("PUT", started.json().value("presigned_url").toString(), text,
                    {{"Content-Type", "text/plain"}});
        queued.jobId = server
                           .api("POST", "/api/v2/uploads/document/complete", token,
                                {{"document_id", queued.documentId},
                                 {"s3_key", started.json().value("s3_key")},
                                 {"skip_syllabus_extraction", false}})
                           .json()
                           .value("job_id")
                           .toString();
        server.stop();
        return queued;
    }

    // Runs the server executable on `dataDir` until it dies at `point`; its exit status. Its
    // leases are short, so that the next process takes its job over without a long wait.
    static int runUntil(const QString& dataDir, const char* point) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("ORBELO_SERVER_FAIL_AT", point);
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QStringList arguments{"--port",      "0", "--data-dir",     dataDir,
                              "--job-delay", "0", "--job-lease-ms", "200"};
        if (const QString database = TestDatabase::forDataDir(dataDir); !database.isEmpty())
            arguments << "--database" << database;
        process.start(ORBELO_LOCAL_SERVER, arguments);
        if (!process.waitForFinished(120'000)) {
            process.kill();
            process.waitForFinished();
            return -1;
        }
        return process.exitCode();
    }

    // Gives the user the credits for a study song and buys it; the reward's id.
    static QString buySong(TestServer& server, const TestServer::Device& device, const QString& email) {
        const QByteArray grant = QJsonDocument(QJsonObject{{"email", email}, {"amount", 150}}).toJson();
        if (server.send("POST", "/__control/credits", grant, {{"Content-Type", "application/json"}}).status !=
            200)
            return {};
        return server
            .api("POST", "/api/gamification/rewards/purchase", server.sessionToken(device),
                 {{"user_id", device.userId}, {"reward_id", "study_song"}})
            .json()
            .value("user_reward_id")
            .toString();
    }

    // Initiates an upload and puts the file, without completing it; the initiate answer.
    static QJsonObject putUpload(TestServer& server, const QString& token) {
        const QByteArray text = "Osmosis is the diffusion of water across a selectively permeable membrane.";
        const QJsonObject started = server
                                        .api("POST", "/api/v2/uploads/document/initiate", token,
                                             {{"filename", "osmosis.txt"},
                                              {"file_size", int(text.size())},
                                              {"content_type", "text/plain"}})
                                        .json();
        if (server
                .send("PUT", started.value("presigned_url").toString(), text,
                      {{"Content-Type", "text/plain"}})
                .status != 200)
            return {};
        return started;
    }

    // A session token of `device` issued by the server process.
    static QVariantMap row(const QString& dataDir, const QString& sql, const QVariantList& values) {
        Database db;
        if (!TestDatabase::open(db, dataDir))
            return {};
        return db.row(sql, values).value_or(QVariantMap());
    }

private slots:
    void aCrashBeforeCommitLeavesNothingAndTheJobFinishesOnceAfterRestart() {
        TestServer server;
        const Queued queued = queueSyllabus(server);
        QVERIFY(!queued.jobId.isEmpty());
        QCOMPARE(runUntil(server.dataDir(), "job-before-commit"), 70);

        // The course, the document's text and the job's result were one transaction: none of
        // them is there.
        const QString dir = server.dataDir();
        QCOMPARE(row(dir, "SELECT COUNT(*) AS n FROM courses", {}).value("n").toInt(), 0);
        QCOMPARE(row(dir, "SELECT status FROM jobs WHERE id = ?", {queued.jobId}).value("status").toString(),
                 "processing");
        const QVariantMap document =
            row(dir, "SELECT status, text FROM documents WHERE id = ?", {queued.documentId});
        QCOMPARE(document.value("status").toString(), "processing");
        QVERIFY(document.value("text").isNull());

        server.setJobDelay(0);
        QVERIFY(server.start());
        const QJsonObject job = server.waitForJob(queued.jobId, server.sessionToken(queued.device));
        QCOMPARE(job.value("status").toString(), "complete");
        const QString courseId = job.value("result").toObject().value("course_id").toString();
        QVERIFY(!courseId.isEmpty());
        server.stop();
        QCOMPARE(row(dir, "SELECT COUNT(*) AS n FROM courses", {}).value("n").toInt(), 1);
        QCOMPARE(row(dir, "SELECT course_id FROM documents WHERE id = ?", {queued.documentId})
                     .value("course_id")
                     .toString(),
                 courseId);
    }

    // A song reserves one of its reward's uses; without its job nothing would ever give it back.
    void aCrashWhileASongIsStartedLeavesTheRewardsUse() {
        TestServer server;
        QVERIFY(server.start());
        const TestServer::Device device = server.signUp("singer@example.com", "la-la-la-la-1");
        QString token = server.sessionToken(device);
        const QString reward = buySong(server, device, "singer@example.com");
        QVERIFY(!reward.isEmpty());
        const QString document = server.uploadDocument(
            token, "Mitochondria make ATP by cellular respiration in every living cell.", "cells.txt",
            "text/plain", server.addCourse(token, "BIO 110"));
        QCOMPARE(server.waitForProcessing(document, token).value("status").toString(), "complete");
        server.stop();
        const QJsonObject use{
            {"user_id", device.userId}, {"user_reward_id", reward}, {"document_id", document}};
        {
            ServerProcess process(ORBELO_LOCAL_SERVER, server.dataDir(), "song-reserved");
            server.api("POST", process.url("/api/gamification/rewards/use/song-from-notes"),
                       server.sessionToken(device, process.url("")), use);
            QCOMPARE(process.exitCode(), 70);
        }
        QCOMPARE(row(server.dataDir(), "SELECT COUNT(*) AS n FROM reward_songs", {}).value("n").toInt(), 0);

        server.setJobDelay(24 * 3600 * 1000);
        QVERIFY(server.start());
        token = server.sessionToken(device);
        const TestServer::Reply owned =
            server.api("GET", "/api/gamification/rewards/" + device.userId + "/purchased", token);
        QCOMPARE(owned.jsonArray().at(0).toObject().value("remaining_uses").toInt(), 1);
        const TestServer::Reply again =
            server.api("POST", "/api/gamification/rewards/use/song-from-notes", token, use);
        QCOMPARE(again.status, 200);
        QVERIFY(!again.json().value("job_id").toString().isEmpty());
    }

    // Completing an upload queues the document and its job together: after a crash in between,
    // the upload can be completed again and is processed.
    void aCrashWhileAnUploadIsCompletedLeavesItToCompleteAgain() {
        TestServer server;
        QVERIFY(server.start());
        const TestServer::Device device = server.signUp("uploads@example.com", "correct horse battery");
        QString token = server.sessionToken(device);
        const QJsonObject started = putUpload(server, token);
        const QString documentId = started.value("document_id").toString();
        QVERIFY(!documentId.isEmpty());
        server.stop();
        const QJsonObject complete{{"document_id", documentId},
                                   {"s3_key", started.value("s3_key")},
                                   {"skip_syllabus_extraction", true}};
        {
            ServerProcess process(ORBELO_LOCAL_SERVER, server.dataDir(), "upload-queued");
            server.api("POST", process.url("/api/v2/uploads/document/complete"),
                       server.sessionToken(device, process.url("")), complete);
            QCOMPARE(process.exitCode(), 70);
        }
        QCOMPARE(row(server.dataDir(), "SELECT status FROM documents WHERE id = ?", {documentId})
                     .value("status")
                     .toString(),
                 "uploaded");

        QVERIFY(server.start());
        token = server.sessionToken(device);
        QCOMPARE(server.api("POST", "/api/v2/uploads/document/complete", token, complete).status, 200);
        QCOMPARE(server.waitForProcessing(documentId, token).value("status").toString(), "complete");
        QCOMPARE(server.api("GET", "/api/documents/" + documentId + "/status", token)
                     .json()
                     .value("status")
                     .toString(),
                 "ready");
    }

    // Older versions queued a job in a transaction of its own, so a crash could leave a song
    // holding its reward's use, or a document "queued", with no job: a start gives both back.
    void whatAnOlderVersionLeftWithoutItsJobIsRecoveredAtStart() {
        TestServer server;
        QVERIFY(server.start());
        const TestServer::Device device = server.signUp("orphans@example.com", "correct horse battery");
        const QString reward = buySong(server, device, "orphans@example.com");
        const QString documentId =
            putUpload(server, server.sessionToken(device)).value("document_id").toString();
        QVERIFY(!reward.isEmpty() && !documentId.isEmpty());
        Database& db = server.server().context().db;
        QVERIFY(db.exec("UPDATE documents SET status = 'queued' WHERE id = ?", {documentId}));
        QVERIFY(db.exec("INSERT INTO reward_songs (id, user_id, user_reward_id, status, document_id, genre,"
                        " created_at) VALUES ('song_orphan', ?, ?, 'composing', ?, 'lo-fi', 0)",
                        {device.userId, reward, documentId}));
        server.stop();

        QVERIFY(server.start());
        const QString token = server.sessionToken(device);
        QCOMPARE(server.api("GET", "/api/gamification/rewards/" + device.userId + "/purchased", token)
                     .jsonArray()
                     .at(0)
                     .toObject()
                     .value("remaining_uses")
                     .toInt(),
                 1);
        QCOMPARE(server.waitForProcessing(documentId, token).value("status").toString(), "complete");
        server.stop();
        QCOMPARE(row(server.dataDir(), "SELECT status FROM reward_songs", {}).value("status").toString(),
                 "failed");
        QCOMPARE(row(server.dataDir(), "SELECT status FROM documents WHERE id = ?", {documentId})
                     .value("status")
                     .toString(),
                 "ready");
    }

    void aJobInterruptedTwiceIsStoppedRatherThanRetried() {
        TestServer server;
        const Queued queued = queueSyllabus(server);
        QCOMPARE(runUntil(server.dataDir(), "job-started"), 70);
        // Resumed once after the first interruption.
        QCOMPARE(runUntil(server.dataDir(), "job-started"), 70);

        server.setJobDelay(0);
        QVERIFY(server.start());
        const QString token = server.sessionToken(queued.device);
        const QJsonObject job = server.waitForJob(queued.jobId, token);
        QCOMPARE(job.value("status").toString(), "failed");
        QVERIFY(job.value("error").toString().contains("interrupted twice"));
        server.stop();
        const QVariantMap document =
            row(server.dataDir(), "SELECT status, failure_reason FROM documents WHERE id = ?",
                {queued.documentId});
        QCOMPARE(document.value("status").toString(), "failed");
        QVERIFY(document.value("failure_reason").toString().contains("interrupted twice"));
        QCOMPARE(row(server.dataDir(), "SELECT starts FROM jobs WHERE id = ?", {queued.jobId})
                     .value("starts")
                     .toInt(),
                 2);
    }
};

QTEST_MAIN(JobRecoveryTest)
#include "JobRecoveryTest.moc"
