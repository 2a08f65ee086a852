#pragma once

#include <QHash>
#include <QJsonObject>
#include <QMutex>
#include <QSet>
#include <QString>
#include <QThread>
#include <QThreadPool>
#include <functional>
#include <optional>

struct ServerContext;
class QTimer;

// Generation and processing work as persisted jobs, shared by every server process on the
// database: any process with workers claims a queued job by taking its lease, then the job is
// "processing" after half the configured delay and "complete" or "failed" after the other half.
// The holder renews its leases while it works; a job whose lease runs out (its process was
// killed) or is given back (its process stopped) is taken over by the next process that looks.
// What a job writes and its final state are committed in one transaction, and only while its
// process still holds it, so a result is never written twice. A job interrupted a second time is
// failed rather than retried for ever.
class JobQueue {
public:
    struct Job {
        QString id;
        QString userId;
        QString type;
        QJsonObject input;
    };
    struct Outcome {
        bool ok = false;
        QJsonObject result;
        QString error;
        // Writes the job's results; runs inside the transaction that finishes the job.
        std::function<void()> commit;
        // Optional: runs once that transaction has committed (announcements of what it wrote).
        std::function<void()> committed;
        static Outcome success(const QJsonObject& result, std::function<void()> commit = {},
                               std::function<void()> committed = {}) {
            return {true, result, {}, std::move(commit), std::move(committed)};
        }
        static Outcome failure(const QString& error, std::function<void()> commit = {}) {
            return {false, {}, error, std::move(commit), {}};
        }
    };
    struct Runner {
        // Optional: writes, in the transaction that moves the job to "processing".
        std::function<void(const Job&)> started;
        // Does the work outside any transaction: reads, computes, writes files.
        std::function<Outcome(const Job&)> run;
        // Optional: writes, in the transaction that fails a job given up after a second
        // interruption.
        std::function<void(const Job&, const QString& error)> abandoned;
    };
    static constexpr int maxStarts = 2;

    explicit JobQueue(ServerContext& context);
    ~JobQueue();

    void registerRunner(const QString& type, Runner runner);
    // Thread-safe.
    QString enqueue(const QString& userId, const QString& type, const QJsonObject& input);
    // Writes the job as "queued" inside the caller's open transaction, so that it is committed
    // with the writes it belongs to, or not at all; schedule() announces it once that transaction
    // has committed. Empty when the write failed.
    QString add(const QString& userId, const QString& type, const QJsonObject& input);
    // Sends this process's idle workers after a job just committed. On PostgreSQL the other
    // processes hear of it on jobsChannel; on SQLite they find it when they next look.
    void schedule(const QString& jobId);
    // Looks for runnable jobs now, as when another process announces one. Thread-safe.
    void wake();
    static constexpr auto jobsChannel = "orbelo_jobs";
    // Once the runners are registered: this process's workers (none with --job-workers 0) start
    // claiming runnable jobs, also those that stopped or killed processes left.
    void start();
    // Stops claiming, waits up to one lease for the jobs running here, then gives back every job
    // this process holds, for another process (or the next start) to take over at once.
    void stop();
    // The owner of this process's leases, made anew for each server.
    QString processId() const { return processId_; }
    // The job's wire record: job_id, user_id, job_type, status, created_at, started_at,
    // completed_at, result, error. Nothing when the job is not the user's.
    std::optional<QJsonObject> statusJson(const QString& jobId, const QString& userId) const;

private:
    // On the scheduler thread.
    void claimRunnable();
    void renewLeases();
    bool begin(const QString& jobId);
    void abandon(const Job& job);
    // On a worker thread.
    void run(const QString& jobId);
    void finish(const QString& jobId);
    // Thread-safe.
    QStringList held() const;
    std::optional<Job> load(const QString& jobId) const;

    ServerContext& context_;
    const QString processId_;
    QHash<QString, Runner> runners_; // filled before the server serves, read-only after
    QThread scheduler_;              // claims, renews leases, owns the delay timers
    QTimer* poll_ = nullptr;         // in scheduler_, once started; when to look for jobs next
    mutable QMutex mutex_;
    QObject* timers_;      // lives in scheduler_; null once stopping (guarded by mutex_)
    QSet<QString> held_;   // claimed here and neither finished nor given up (guarded by mutex_)
    bool stopped_ = false; // of the thread that owns the queue
    QThreadPool workers_;
};
