#include "JobQueue.h"

#include "FailPoint.h"
#include "LogText.h"
#include "RandomId.h"
#include "ServerContext.h"

#include <QJsonDocument>
#include <QLoggingCategory>
#include <QTimer>

Q_LOGGING_CATEGORY(lcJobs, "orbelo.server.jobs")

namespace {
constexpr int workerThreads = 2;
const QString interrupted = QStringLiteral("The job was interrupted twice and has been stopped.");
} // namespace

JobQueue::JobQueue(ServerContext& context) : context_(context), timers_(new QObject) {
    workers_.setMaxThreadCount(workerThreads);
    timers_->moveToThread(&scheduler_);
    scheduler_.setObjectName("jobs-scheduler");
    scheduler_.start();
}

JobQueue::~JobQueue() {
    stop();
}

void JobQueue::stop() {
    if (scheduler_.isRunning()) {
        scheduler_.quit();
        scheduler_.wait();
    }
    delete timers_;
    timers_ = nullptr;
    workers_.clear();
    workers_.waitForDone();
}

void JobQueue::registerRunner(const QString& type, Runner runner) {
    runners_.insert(type, std::move(runner));
}

QString JobQueue::enqueue(const QString& userId, const QString& type, const QJsonObject& input) {
    const QString id = add(userId, type, input);
    if (!id.isEmpty())
        schedule(id);
    return id;
}

QString JobQueue::add(const QString& userId, const QString& type, const QJsonObject& input) {
    const QString id = RandomId::make("job");
    const bool written = context_.db.exec(
        "INSERT INTO jobs (id, user_id, job_type, status, input, created_at) VALUES (?, ?, ?, 'queued', ?, "
        "?)",
        {id, userId, type, QString::fromUtf8(QJsonDocument(input).toJson(QJsonDocument::Compact)),
         context_.isoNow()});
    return written ? id : QString();
}

void JobQueue::resumeUnfinished() {
    for (const QVariantMap& row : context_.db.rows("SELECT id, starts FROM jobs WHERE status IN ('queued', "
                                                   "'processing') ORDER BY created_at")) {
        const QString id = row.value("id").toString();
        if (row.value("starts").toInt() >= maxStarts) {
            abandon(id);
            continue;
        }
        context_.db.exec("UPDATE jobs SET status = 'queued' WHERE id = ?", {id});
        schedule(id);
    }
}

void JobQueue::schedule(const QString& jobId) {
    if (!timers_)
        return; // stopping; the job resumes at the next start
    const int half = context_.options.jobDelayMs / 2;
    const int rest = context_.options.jobDelayMs - half;
    QMetaObject::invokeMethod(timers_, [this, jobId, half, rest] {
        QTimer::singleShot(half, timers_, [this, jobId, rest] {
            start(jobId);
            QTimer::singleShot(rest, timers_,
                               [this, jobId] { workers_.start([this, jobId] { finish(jobId); }); });
        });
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
    Database& db = context_.db;
    db.transaction();
    db.exec("UPDATE jobs SET status = 'processing', started_at = ?, starts = starts + 1 WHERE id = ?",
            {context_.isoNow(), jobId});
    const Runner runner = runners_.value(job->type);
    if (runner.started)
        runner.started(*job);
    db.commit();
    FailPoint::reach("job-started");
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
    Database& db = context_.db;
    if (!db.transaction())
        return;
    // Deleted with its user meanwhile, or already finished: nothing is written twice.
    const auto current = db.row("SELECT status FROM jobs WHERE id = ?", {jobId});
    if (!current || current->value("status").toString() != "processing") {
        db.rollback();
        return;
    }
    if (outcome.commit)
        outcome.commit();
    db.exec("UPDATE jobs SET status = ?, result = ?, error = ?, completed_at = ? WHERE id = ?",
            {outcome.ok ? "complete" : "failed", outcome.ok ? QVariant(result) : QVariant(),
             outcome.ok ? QVariant() : QVariant(outcome.error), context_.isoNow(), jobId});
    FailPoint::reach("job-before-commit");
    if (!db.commit()) {
        db.rollback();
        qCWarning(lcJobs).noquote() << "job" << jobId
                                    << "could not be saved; it runs again at the next start";
        return;
    }
    qCInfo(lcJobs).noquote() << "job" << jobId << job->type
                             << (outcome.ok ? "complete" : "failed: " + LogText::clean(outcome.error));
    if (outcome.committed)
        outcome.committed();
}

void JobQueue::abandon(const QString& jobId) {
    const auto job = load(jobId);
    if (!job)
        return;
    Database& db = context_.db;
    db.transaction();
    const Runner runner = runners_.value(job->type);
    if (runner.abandoned)
        runner.abandoned(*job, interrupted);
    db.exec("UPDATE jobs SET status = 'failed', error = ?, completed_at = ? WHERE id = ?",
            {interrupted, context_.isoNow(), jobId});
    db.commit();
    qCWarning(lcJobs).noquote() << "job" << jobId << job->type << "stopped after a second interruption";
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
