#include "JobQueue.h"

#include "RandomId.h"
#include "ServerContext.h"

#include <QJsonDocument>
#include <QLoggingCategory>
#include <QTimer>

Q_LOGGING_CATEGORY(lcJobs, "orbelo.server.jobs")

JobQueue::JobQueue(ServerContext& context, QObject* parent) : QObject(parent), context_(context) {}

void JobQueue::registerRunner(const QString& type, Runner runner) {
    runners_.insert(type, std::move(runner));
}

QString JobQueue::enqueue(const QString& userId, const QString& type, const QJsonObject& input) {
    const QString id = RandomId::make("job");
    context_.db.exec("INSERT INTO jobs (id, user_id, job_type, status, input, created_at) VALUES (?, ?, ?, "
                     "'queued', ?, ?)",
                     {id, userId, type,
                      QString::fromUtf8(QJsonDocument(input).toJson(QJsonDocument::Compact)),
                      context_.isoNow()});
    schedule(id);
    return id;
}

void JobQueue::resumeUnfinished() {
    for (const QVariantMap& row : context_.db.rows(
             "SELECT id FROM jobs WHERE status IN ('queued', 'processing') ORDER BY created_at")) {
        context_.db.exec("UPDATE jobs SET status = 'queued' WHERE id = ?", {row.value("id")});
        schedule(row.value("id").toString());
    }
}

void JobQueue::schedule(const QString& jobId) {
    const int half = context_.options.jobDelayMs / 2;
    QTimer::singleShot(half, this, [this, jobId, half] {
        start(jobId);
        QTimer::singleShot(context_.options.jobDelayMs - half, this, [this, jobId] { finish(jobId); });
    });
}

std::optional<JobQueue::Job> JobQueue::load(const QString& jobId) const {
    const auto row = context_.db.row("SELECT * FROM jobs WHERE id = ?", {jobId});
    if (!row)
        return std::nullopt; // deleted with its user meanwhile
    return Job{jobId, row->value("user_id").toString(), row->value("job_type").toString(),
               QJsonDocument::fromJson(row->value("input").toByteArray()).object()};
}

void JobQueue::start(const QString& jobId) {
    const auto job = load(jobId);
    if (!job)
        return;
    context_.db.exec("UPDATE jobs SET status = 'processing', started_at = ? WHERE id = ?",
                     {context_.isoNow(), jobId});
    const Runner runner = runners_.value(job->type);
    if (runner.started)
        runner.started(*job);
}

void JobQueue::finish(const QString& jobId) {
    const auto job = load(jobId);
    if (!job)
        return;
    const Runner runner = runners_.value(job->type);
    const Outcome outcome = runner.run ? runner.run(*job) : Outcome::failure("Unknown job type " + job->type);
    const QString result =
        outcome.ok ? QString::fromUtf8(QJsonDocument(outcome.result).toJson(QJsonDocument::Compact))
                   : QString();
    context_.db.exec("UPDATE jobs SET status = ?, result = ?, error = ?, completed_at = ? WHERE id = ?",
                     {outcome.ok ? "complete" : "failed", outcome.ok ? QVariant(result) : QVariant(),
                      outcome.ok ? QVariant() : QVariant(outcome.error), context_.isoNow(), jobId});
    qCInfo(lcJobs).noquote() << "job" << jobId << job->type
                             << (outcome.ok ? "complete" : "failed: " + outcome.error);
    emit finished(jobId);
}

std::optional<QJsonObject> JobQueue::statusJson(const QString& jobId, const QString& userId) const {
    const auto row = context_.db.row("SELECT * FROM jobs WHERE id = ? AND user_id = ?", {jobId, userId});
    if (!row)
        return std::nullopt;
    auto text = [&](const char* column) {
        return row->value(column).isNull() ? QJsonValue() : QJsonValue(row->value(column).toString());
    };
    QJsonValue result;
    if (!row->value("result").isNull())
        result = QJsonDocument::fromJson(row->value("result").toByteArray()).object();
    return QJsonObject{{"job_id", jobId},
                       {"user_id", userId},
                       {"job_type", row->value("job_type").toString()},
                       {"status", row->value("status").toString()},
                       {"created_at", row->value("created_at").toString()},
                       {"started_at", text("started_at")},
                       {"completed_at", text("completed_at")},
                       {"result", result},
                       {"error", text("error")}};
}
