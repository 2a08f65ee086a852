#pragma once

#include <QHash>
#include <QJsonObject>
#include <QString>
#include <QThread>
#include <QThreadPool>
#include <functional>
#include <optional>

struct ServerContext;

// Generation and processing work as persisted jobs: "queued", then "processing" after half the
// configured delay, then "complete" or "failed" after the other half. The work runs on worker
// threads; what a job writes and its final state are committed in one transaction, and only
// while the job is still "processing", so a result is never written twice. Jobs left
// unfinished by a stop or a crash run again when the server starts, once: a job interrupted a
// second time is failed rather than retried for ever.
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
    // with the writes it belongs to, or not at all; schedule() runs it once that transaction has
    // committed (a stop before that leaves it to the next start). Empty when the write failed.
    QString add(const QString& userId, const QString& type, const QJsonObject& input);
    void schedule(const QString& jobId);
    void resumeUnfinished();
    // Waits for running work and drops what has not started; it resumes at the next start.
    void stop();
    // The job's wire record: job_id, user_id, job_type, status, created_at, started_at,
    // completed_at, result, error. Nothing when the job is not the user's.
    std::optional<QJsonObject> statusJson(const QString& jobId, const QString& userId) const;

private:
    void start(const QString& jobId);
    void finish(const QString& jobId);
    void abandon(const QString& jobId);
    std::optional<Job> load(const QString& jobId) const;

    ServerContext& context_;
    QHash<QString, Runner> runners_; // filled before the server serves, read-only after
    QThread scheduler_;              // owns the delay timers
    QObject* timers_;                // lives in scheduler_
    QThreadPool workers_;
};
