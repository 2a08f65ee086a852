#include "Jobs/JobStore.h"
#include "Storage/Database.h"

#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <thread>

// The leases of the jobs table as server processes on one database use them: a job goes to one
// claimant at a time, passes to another only once its lease has run out or was given back, and
// moves on only for the process that holds it.
class JobLeaseTest : public QObject {
    Q_OBJECT

    static constexpr qint64 t0 = 1'000'000;
    static constexpr qint64 lease = 30'000;

    QTemporaryDir dir;
    std::unique_ptr<Database> db;

    // Jobs job_000, job_001, … queued in that order.
    void addJobs(int count) {
        for (int i = 0; i < count; ++i)
            QVERIFY(JobStore(*db).add(QStringLiteral("job_%1").arg(i, 3, 10, QChar('0')), "user_1", "summary",
                                      {},
                                      QStringLiteral("2026-03-02T09:00:00.%1Z").arg(i, 3, 10, QChar('0'))));
    }

    // The job `owner` claims at `now` for one lease; empty when none.
    QString claim(const QString& owner, qint64 now, const QStringList& running = {}) {
        const auto job = JobStore(*db).claim(owner, running, now, now + lease);
        return job ? job->id : QString();
    }

    bool written(const QString& key) {
        return db->row("SELECT 1 FROM settings WHERE key = ?", {key}).has_value();
    }

private slots:
    void init() {
        db = std::make_unique<Database>();
        QVERIFY(db->open(dir.filePath(QString::fromLatin1(QTest::currentTestFunction()) + ".sqlite")));
        QVERIFY(db->migrate());
    }
    void cleanup() { db.reset(); }

    // Each thread has a connection of its own, as each process would.
    void processesClaimingAtOnceNeverShareAJob() {
        addJobs(40);
        QStringList claimed[2];
        const auto claimAll = [&](int process) {
            JobStore store(*db);
            const QString owner = QStringLiteral("proc_%1").arg(process);
            while (const auto job = store.claim(owner, {}, t0, t0 + lease))
                claimed[process].append(job->id);
        };
        std::thread first(claimAll, 0);
        std::thread second(claimAll, 1);
        first.join();
        second.join();
        QCOMPARE(claimed[0].size() + claimed[1].size(), 40);
        QCOMPARE(QSet<QString>(claimed[0].begin(), claimed[0].end())
                     .unite(QSet<QString>(claimed[1].begin(), claimed[1].end()))
                     .size(),
                 40);
    }

    void aJobPassesOnOnlyWhenItsLeaseRunsOutOrIsGivenBack() {
        addJobs(2);
        QCOMPARE(claim("proc_a", t0), "job_000");
        QCOMPARE(claim("proc_b", t0 + lease - 1), "job_001"); // the next one
        QCOMPARE(claim("proc_c", t0 + lease - 1), "");
        // A renews its lease, B does not: B's job passes on exactly when its lease ends.
        JobStore(*db).renew("proc_a", {"job_000"}, t0 + 3 * lease);
        QCOMPARE(claim("proc_c", t0 + 2 * lease - 2), "");
        QCOMPARE(claim("proc_c", t0 + 2 * lease - 1), "job_001");
        JobStore(*db).renew("proc_c", {"job_001"}, t0 + 10 * lease);
        // A process late with its renewal does not take back a job it is still running.
        QCOMPARE(claim("proc_a", t0 + 3 * lease, {"job_000"}), "");
        QCOMPARE(claim("proc_b", t0 + 3 * lease), "job_000");
        // Given back at a stop: another process takes it at once.
        JobStore(*db).release("proc_b");
        QCOMPARE(claim("proc_d", t0 + 3 * lease), "job_000");
        QCOMPARE(claim("proc_e", t0 + 3 * lease), "");
    }

    void onlyTheHolderStartsAndFinishesAJob() {
        addJobs(1);
        JobStore store(*db);
        QCOMPARE(claim("proc_a", t0), "job_000");
        QVERIFY(!store.start("job_000", "proc_b", "2026-03-02T09:00:01.000Z", {}));
        QVERIFY(store.start("job_000", "proc_a", "2026-03-02T09:00:01.000Z", {}));
        // A is killed mid-job; B takes over once A's lease has run out, and starts it a second time.
        const auto taken = store.claim("proc_b", {}, t0 + lease, t0 + 2 * lease);
        QVERIFY(taken);
        QCOMPARE(taken->status, "processing");
        QVERIFY(store.start("job_000", "proc_b", "2026-03-02T09:00:31.000Z", {}));

        // A's late result is dropped, with what it would have written alongside.
        const auto write = [this](const QString& key) {
            return [this, key] { db->exec("INSERT INTO settings (key, value) VALUES (?, '1')", {key}); };
        };
        QCOMPARE(store.finish("job_000", "proc_a", QJsonObject{{"by", "a"}}, {}, "2026-03-02T09:00:40.000Z",
                              write("by_a")),
                 JobStore::Finish::NotHeld);
        QVERIFY(!store.fail("job_000", "proc_a", "late", "2026-03-02T09:00:40.000Z", write("failed_by_a")));
        QVERIFY(!written("by_a") && !written("failed_by_a"));
        QCOMPARE(store.finish("job_000", "proc_b", QJsonObject{{"by", "b"}}, {}, "2026-03-02T09:00:41.000Z",
                              write("by_b")),
                 JobStore::Finish::Saved);
        QVERIFY(written("by_b"));
        const auto job = store.find("job_000");
        QCOMPARE(job->status, "complete");
        QCOMPARE(job->starts, 2);
        QCOMPARE(job->result->value("by").toString(), "b");
        // Finished: no lease running out hands it out again.
        QCOMPARE(claim("proc_c", t0 + 10 * lease), "");
        QCOMPARE(
            store.finish("job_000", "proc_b", QJsonObject{{"by", "b"}}, {}, "2026-03-02T09:00:42.000Z", {}),
            JobStore::Finish::NotHeld);
    }
};

QTEST_MAIN(JobLeaseTest)
#include "JobLeaseTest.moc"
