#pragma once

#include <QHash>
#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QVariantMap>
#include <functional>
#include <optional>

struct ServerContext;

// Generation and processing work as persisted jobs: "queued", then "processing" after half the
// configured delay, then "complete" or "failed" after the other half. Jobs left unfinished by a
// stop or a crash run again when the server starts.
class JobQueue : public QObject {
    Q_OBJECT
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
        static Outcome success(const QJsonObject& result) { return {true, result, {}}; }
        static Outcome failure(const QString& error) { return {false, {}, error}; }
    };
    struct Runner {
        std::function<void(const Job&)> started; // optional: when the job enters "processing"
        std::function<Outcome(const Job&)> run;
    };

    explicit JobQueue(ServerContext& context, QObject* parent = nullptr);

    void registerRunner(const QString& type, Runner runner);
    QString enqueue(const QString& userId, const QString& type, const QJsonObject& input);
    void resumeUnfinished();
    // The job's wire record: job_id, user_id, job_type, status, created_at, started_at,
    // completed_at, result, error. Nothing when the job is not the user's.
    std::optional<QJsonObject> statusJson(const QString& jobId, const QString& userId) const;

signals:
    void finished(const QString& jobId);

private:
    void schedule(const QString& jobId);
    void start(const QString& jobId);
    void finish(const QString& jobId);
    std::optional<Job> load(const QString& jobId) const;

    ServerContext& context_;
    QHash<QString, Runner> runners_;
};
