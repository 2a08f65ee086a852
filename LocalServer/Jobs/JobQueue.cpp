#include "Jobs/JobQueue.h"

#include "Jobs/FailPoint.h"
#include "Jobs/JobStore.h"
#include "LogText.h"
#include "ServerContext.h"
#include "Storage/RandomId.h"

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
    return JobStore(context_.db).add(id, userId, type, input, context_.isoNow()) ? id : QString();
}

void JobQueue::resumeUnfinished() {
    JobStore store(context_.db);
    for (const JobStore::Record& job : store.unfinished()) {
        if (job.starts >= maxStarts) {
            abandon(job.id);
            continue;
        }
        store.requeue(job.id);
        schedule(job.id);
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
    const auto job = JobStore(context_.db).find(jobId);
    if (!job)
        return std::nullopt; // deleted with its user meanwhile
    return Job{jobId, job->userId, job->type, job->input};
}

void JobQueue::start(const QString& jobId) {
    const auto job = load(jobId);
    if (!job)
        return;
    const Runner runner = runners_.value(job->type);
    JobStore(context_.db).start(jobId, context_.isoNow(), [&] {
        if (runner.started)
            runner.started(*job);
    });
    FailPoint::reach("job-started");
}

void JobQueue::finish(const QString& jobId) {
    const auto job = load(jobId);
    if (!job)
        return;
    const Runner runner = runners_.value(job->type);
    const Outcome outcome = runner.run ? runner.run(*job) : Outcome::failure("Unknown job type " + job->type);
    const JobStore::Finish saved =
        JobStore(context_.db)
            .finish(jobId, outcome.ok ? std::optional(outcome.result) : std::nullopt, outcome.error,
                    context_.isoNow(), outcome.commit);
    if (saved == JobStore::Finish::NotProcessing)
        return;
    if (saved == JobStore::Finish::NotSaved) {
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
    const Runner runner = runners_.value(job->type);
    JobStore(context_.db).fail(jobId, interrupted, context_.isoNow(), [&] {
        if (runner.abandoned)
            runner.abandoned(*job, interrupted);
    });
    qCWarning(lcJobs).noquote() << "job" << jobId << job->type << "stopped after a second interruption";
}

std::optional<QJsonObject> JobQueue::statusJson(const QString& jobId, const QString& userId) const {
    const auto job = JobStore(context_.db).findOf(jobId, userId);
    if (!job)
        return std::nullopt;
    auto orNull = [](const QString& text) { return text.isNull() ? QJsonValue() : QJsonValue(text); };
    return QJsonObject{{"job_id", jobId},
                       {"user_id", userId},
                       {"job_type", job->type},
                       {"status", job->status},
                       {"created_at", job->createdAt},
                       {"started_at", orNull(job->startedAt)},
                       {"completed_at", orNull(job->completedAt)},
                       {"result", job->result ? QJsonValue(*job->result) : QJsonValue()},
                       {"error", orNull(job->error)}};
}
