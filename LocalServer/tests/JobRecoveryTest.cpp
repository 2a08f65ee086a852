#include "Database.h"
#include "TestServer.h"

#include <QDir>
#include <QProcess>
#include <QTest>

// Jobs across crashes: the server executable is made to die at a chosen point of a job, as a
// kill would, and a server started again on the same data dir must find either all of the job's
// writes or none, finish it once, and give up on one that was interrupted twice.
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

    // Runs the server executable on `dataDir` until it dies at `point`; its exit status.
    static int runUntil(const QString& dataDir, const char* point) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("ORBELO_SERVER_FAIL_AT", point);
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(ORBELO_LOCAL_SERVER, {"--port", "0", "--data-dir", dataDir, "--job-delay", "0"});
        if (!process.waitForFinished(120'000)) {
            process.kill();
            process.waitForFinished();
            return -1;
        }
        return process.exitCode();
    }

    static QVariantMap row(const QString& dataDir, const QString& sql, const QVariantList& values) {
        Database db;
        if (!db.open(QDir(dataDir).filePath("orbelo.sqlite")))
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
