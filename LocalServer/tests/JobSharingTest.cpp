#include "Jobs/JobQueue.h"
#include "ServerContext.h"
#include "ServerProcess.h"
#include "TestServer.h"

#include <QDeadlineTimer>
#include <QTest>

// Jobs shared by server processes on one data dir: the process that queues a job need not be
// the one that runs it, and a job whose process is killed in the middle of it is finished once
// by another.
class JobSharingTest : public QObject {
    Q_OBJECT

    // Checked as a syllabus, its processing makes a course: made twice, there would be two.
    static constexpr char syllabus[] =
        "BIO 110 General Biology\nSyllabus\nInstructor: Dr. Rosalind Franklin\n"
        "Office Hours: Monday 2-4pm\nWeek 1: Cells\nWeek 2: Genetics\n";

    std::unique_ptr<TestServer> front;
    QString token;

    // Runs with no workers: it serves requests and queues jobs, and others run them.
    void startFront() {
        front = std::make_unique<TestServer>();
        front->options().jobWorkers = 0;
        QVERIFY(front->start());
        token = front->sessionToken(front->signUp("shared@example.com", "correct horse battery"));
        QVERIFY(!token.isEmpty());
    }

    // A worker process on the front's data dir; its leases run out 2 s after its last renewal.
    std::unique_ptr<ServerProcess> startWorker(const QProcessEnvironment& environment) {
        return std::make_unique<ServerProcess>(ORBELO_LOCAL_SERVER, front->dataDir(), environment,
                                               QStringList{"--job-lease-ms", "2000"});
    }

    QString jobOf(const QString& documentId) {
        return front->api("GET", "/api/documents/" + documentId + "/status", token)
            .json()["task_id"]
            .toString();
    }

    // Polls the job until it is `status`, for up to a minute; the status it last had.
    QString waitForStatus(const QString& jobId, const QString& status) {
        QString current;
        for (QDeadlineTimer deadline(60'000); current != status && !deadline.hasExpired(); QTest::qWait(0))
            current = front->api("GET", "/api/jobs/" + jobId, token).json()["status"].toString();
        return current;
    }

    int count(const QString& sql, const QVariantList& values) {
        return front->server().context().db.row(sql, values)->value("n").toInt();
    }

private slots:
    void cleanup() { front.reset(); }

    void aJobQueuedWhereNoWorkersRunIsRunByAnotherProcess() {
        startFront();
        const auto worker = startWorker(QProcessEnvironment::systemEnvironment());
        QVERIFY(!worker->url("/").isEmpty());
        const QString documentId = front->uploadDocument(token, syllabus, "bio110.txt", "text/plain");
        QVERIFY(!documentId.isEmpty());
        const QJsonObject job = front->waitForProcessing(documentId, token);
        QCOMPARE(job["status"].toString(), "complete");
        const auto owner = front->server().context().db.row("SELECT lease_owner FROM jobs WHERE id = ?",
                                                            {job["job_id"].toString()});
        QVERIFY(!owner->value("lease_owner").toString().isEmpty());
        QVERIFY(owner->value("lease_owner").toString() != front->server().context().jobs->processId());
    }

    void aJobOfAKilledProcessIsFinishedOnceByAnother() {
        startFront();
        QProcessEnvironment hanging = QProcessEnvironment::systemEnvironment();
        hanging.insert("ORBELO_SERVER_HOLD_AT", "job-running");
        const auto holder = startWorker(hanging);
        QVERIFY(!holder->url("/").isEmpty());
        const QString documentId = front->uploadDocument(token, syllabus, "bio110.txt", "text/plain");
        const QString jobId = jobOf(documentId);
        QVERIFY(!jobId.isEmpty());
        QCOMPARE(waitForStatus(jobId, "processing"), "processing");

        const auto rescuer = startWorker(QProcessEnvironment::systemEnvironment());
        QVERIFY(!rescuer->url("/").isEmpty());
        holder->kill();
        QCOMPARE(front->waitForJob(jobId, token)["status"].toString(), "complete");
        QCOMPARE(count("SELECT starts AS n FROM jobs WHERE id = ?", {jobId}), 2);
        QCOMPARE(count("SELECT COUNT(*) AS n FROM courses", {}), 1);
    }
};

QTEST_MAIN(JobSharingTest)
#include "JobSharingTest.moc"
