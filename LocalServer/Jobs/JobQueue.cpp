#include "Jobs/JobQueue.h"

#include "Jobs/FailPoint.h"
#include "Jobs/JobStore.h"
#include "LogText.h"
#include "ServerContext.h"
#include "Storage/RandomId.h"

#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QTimer>
#include <algorithm>

Q_LOGGING_CATEGORY(lcJobs, "orbelo.server.jobs")

namespace {
const QString interrupted = QStringLiteral("The job was interrupted twice and has been stopped.");
// Between two looks for runnable jobs: at random within the range, so that processes started
// together do not query in step.
constexpr int pollMinMs = 500;
constexpr int pollMaxMs = 1000;
} // namespace

JobQueue::JobQueue(ServerContext& context)
    : context_(context), processId_(RandomId::make("proc")), timers_(new QObject) {
    workers_.setMaxThreadCount(std::max(1, context.options.jobWorkers));
    timers_->moveToThread(&scheduler_);
    scheduler_.setObjectName("jobs-scheduler");
    scheduler_.start();
}

JobQueue::~JobQueue() {
    stop();
}

void JobQueue::start() {
    if (context_.options.jobWorkers == 0)
        return;
    QMutexLocker lock(&mutex_);
    if (!timers_)
        return;
    QMetaObject::invokeMethod(timers_, [this] {
        // Renewed well before they run out, so that a late renewal or a clock a few seconds off
        // between processes does not hand a job over while it runs.
        auto* heartbeat = new QTimer(timers_);
        QObject::connect(heartbeat, &QTimer::timeout, timers_, [this] { renewLeases(); });
        heartbeat->start(context_.options.jobLeaseMs / 2);
        poll_ = new QTimer(timers_);
        poll_->setSingleShot(true);
        QObject::connect(poll_, &QTimer::timeout, timers_, [this] { claimRunnable(); });
        claimRunnable();
    });
}

void JobQueue::stop() {
    if (stopped_)
        return;
    stopped_ = true;
    {
        QMutexLocker lock(&mutex_);
        // Deleted on its own thread, with the timers and the delays under way.
        QMetaObject::invokeMethod(timers_, [this] {
            QMutexLocker lock(&mutex_);
            delete timers_;
            timers_ = nullptr;
            poll_ = nullptr;
            scheduler_.quit();
        });
    }
    scheduler_.wait();
    workers_.clear();
    if (!workers_.waitForDone(context_.options.jobLeaseMs))
        qCWarning(lcJobs) << "jobs still running at the stop are given back; their results will be dropped";
    JobStore(context_.db).release(processId_);
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

void JobQueue::schedule(const QString& jobId) {
    qCDebug(lcJobs).noquote() << "job" << jobId << "queued";
    wake();
    if (context_.db.engine() == Database::Engine::PostgreSQL)
        context_.db.exec("SELECT pg_notify(?, ?)", {QString::fromLatin1(jobsChannel), jobId});
}

void JobQueue::wake() {
    QMutexLocker lock(&mutex_);
    if (timers_)
        QMetaObject::invokeMethod(timers_, [this] { claimRunnable(); });
}

QStringList JobQueue::held() const {
    QMutexLocker lock(&mutex_);
    return held_.values();
}

void JobQueue::claimRunnable() {
    if (!poll_)
        return; // not started (no workers here) or stopping
    JobStore store(context_.db);
    const int delay = context_.options.jobDelayMs;
    for (QStringList running = held(); running.size() < context_.options.jobWorkers; running = held()) {
        const qint64 now = context_.nowMs();
        const auto claimed = store.claim(processId_, running, now, now + context_.options.jobLeaseMs);
        if (!claimed)
            break;
        const Job job{claimed->id, claimed->userId, claimed->type, claimed->input};
        if (claimed->starts >= maxStarts) {
            abandon(job);
            continue;
        }
        {
            QMutexLocker lock(&mutex_);
            held_.insert(job.id);
        }
        QTimer::singleShot(delay / 2, timers_, [this, id = job.id, rest = delay - delay / 2] {
            if (!begin(id)) {
                QMutexLocker lock(&mutex_);
                held_.remove(id);
                return;
            }
            QTimer::singleShot(rest, timers_, [this, id] { workers_.start([this, id] { run(id); }); });
        });
    }
    poll_->start(QRandomGenerator::global()->bounded(pollMinMs, pollMaxMs));
}

void JobQueue::renewLeases() {
    JobStore(context_.db).renew(processId_, held(), context_.nowMs() + context_.options.jobLeaseMs);
}

std::optional<JobQueue::Job> JobQueue::load(const QString& jobId) const {
    const auto job = JobStore(context_.db).find(jobId);
    if (!job)
        return std::nullopt; // deleted with its user meanwhile
    return Job{jobId, job->userId, job->type, job->input};
}

bool JobQueue::begin(const QString& jobId) {
    const auto job = load(jobId);
    if (!job)
        return false;
    const Runner runner = runners_.value(job->type);
    if (!JobStore(context_.db).start(jobId, processId_, context_.isoNow(), [&] {
            if (runner.started)
                runner.started(*job);
        }))
        return false;
    FailPoint::reach("job-started");
    return true;
}

void JobQueue::run(const QString& jobId) {
    finish(jobId);
    {
        QMutexLocker lock(&mutex_);
        held_.remove(jobId);
    }
    wake(); // a worker is free
}

void JobQueue::finish(const QString& jobId) {
    const auto job = load(jobId);
    if (!job)
        return;
    const Runner runner = runners_.value(job->type);
    FailPoint::reach("job-running");
    const Outcome outcome = runner.run ? runner.run(*job) : Outcome::failure("Unknown job type " + job->type);
    const JobStore::Finish saved =
        JobStore(context_.db)
            .finish(jobId, processId_, outcome.ok ? std::optional(outcome.result) : std::nullopt,
                    outcome.error, context_.isoNow(), outcome.commit);
    if (saved == JobStore::Finish::NotHeld) {
        qCInfo(lcJobs).noquote() << "job" << jobId << "is no longer this process's; its result is dropped";
        return;
    }
    if (saved == JobStore::Finish::NotSaved) {
        qCWarning(lcJobs).noquote() << "job" << jobId
                                    << "could not be saved; it runs again when its lease runs out";
        return;
    }
    qCInfo(lcJobs).noquote() << "job" << jobId << job->type
                             << (outcome.ok ? "complete" : "failed: " + LogText::clean(outcome.error));
    if (outcome.committed)
        outcome.committed();
}

void JobQueue::abandon(const Job& job) {
    const Runner runner = runners_.value(job.type);
    if (!JobStore(context_.db).fail(job.id, processId_, interrupted, context_.isoNow(), [&] {
            if (runner.abandoned)
                runner.abandoned(job, interrupted);
        }))
        return;
    qCWarning(lcJobs).noquote() << "job" << job.id << job.type << "stopped after a second interruption";
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
