#include "Jobs/JobStore.h"

#include "Jobs/FailPoint.h"
#include "Storage/Database.h"

#include <QJsonDocument>

namespace {
QString compact(const QJsonObject& object) {
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

JobStore::Record record(const QVariantMap& row) {
    JobStore::Record job{row.value("id").toString(),
                         row.value("user_id").toString(),
                         row.value("job_type").toString(),
                         row.value("status").toString(),
                         QJsonDocument::fromJson(row.value("input").toByteArray()).object(),
                         row.value("starts").toInt(),
                         row.value("created_at").toString(),
                         row.value("started_at").toString(),
                         row.value("completed_at").toString(),
                         std::nullopt,
                         row.value("error").toString()};
    if (!row.value("result").isNull())
        job.result = QJsonDocument::fromJson(row.value("result").toByteArray()).object();
    return job;
}

std::optional<JobStore::Record> record(const std::optional<QVariantMap>& row) {
    return row ? std::optional(record(*row)) : std::nullopt;
}

// The document or song a job is about, as its input names it; null for none.
QVariant subjectOf(const QJsonObject& input) {
    for (const char* key : {"document_id", "song_id"}) {
        const QString id = input.value(QLatin1String(key)).toString();
        if (!id.isEmpty())
            return id;
    }
    return QVariant(QMetaType(QMetaType::QString));
}
} // namespace

bool JobStore::add(const QString& id, const QString& userId, const QString& type, const QJsonObject& input,
                   const QString& createdAt) {
    return db_.exec("INSERT INTO jobs (id, user_id, job_type, status, input, subject_id, created_at)"
                    " VALUES (?, ?, ?, 'queued', ?, ?, ?)",
                    {id, userId, type, compact(input), subjectOf(input), createdAt});
}

std::optional<JobStore::Record> JobStore::find(const QString& id) {
    return record(db_.row("SELECT * FROM jobs WHERE id = ?", {id}));
}

std::optional<JobStore::Record> JobStore::findOf(const QString& id, const QString& userId) {
    return record(db_.row("SELECT * FROM jobs WHERE id = ? AND user_id = ?", {id, userId}));
}

QList<JobStore::Record> JobStore::unfinished() {
    QList<Record> jobs;
    for (const QVariantMap& row :
         db_.rows("SELECT * FROM jobs WHERE status IN ('queued', 'processing') ORDER BY created_at"))
        jobs.append(record(row));
    return jobs;
}

void JobStore::requeue(const QString& id) {
    db_.exec("UPDATE jobs SET status = 'queued' WHERE id = ?", {id});
}

void JobStore::start(const QString& id, const QString& at, const std::function<void()>& alongside) {
    db_.inTransaction([&] {
        const bool started = db_.exec(
            "UPDATE jobs SET status = 'processing', started_at = ?, starts = starts + 1 WHERE id = ?",
            {at, id});
        if (alongside)
            alongside();
        return started;
    });
}

JobStore::Finish JobStore::finish(const QString& id, const std::optional<QJsonObject>& result,
                                  const QString& error, const QString& at,
                                  const std::function<void()>& alongside) {
    bool processing = true;
    const bool saved = db_.inTransaction([&] {
        // Deleted with its user meanwhile, or already finished: nothing is written twice.
        const auto current = db_.row("SELECT status FROM jobs WHERE id = ?", {id});
        processing = current && current->value("status").toString() == "processing";
        if (!processing)
            return false;
        if (alongside)
            alongside();
        const bool written =
            db_.exec("UPDATE jobs SET status = ?, result = ?, error = ?, completed_at = ? WHERE id = ?",
                     {result ? "complete" : "failed", result ? QVariant(compact(*result)) : QVariant(),
                      result ? QVariant() : QVariant(error), at, id});
        FailPoint::reach("job-before-commit");
        return written;
    });
    if (!processing)
        return Finish::NotProcessing;
    return saved ? Finish::Saved : Finish::NotSaved;
}

void JobStore::fail(const QString& id, const QString& error, const QString& at,
                    const std::function<void()>& alongside) {
    db_.inTransaction([&] {
        if (alongside)
            alongside();
        return db_.exec("UPDATE jobs SET status = 'failed', error = ?, completed_at = ? WHERE id = ?",
                        {error, at, id});
    });
}

std::optional<JobStore::Record> JobStore::latestComplete(const QString& userId, const QString& type,
                                                         const QJsonObject& input) {
    return record(db_.row("SELECT * FROM jobs WHERE user_id = ? AND job_type = ? AND input = ?"
                          " AND status = 'complete' ORDER BY completed_at DESC LIMIT 1",
                          {userId, type, compact(input)}));
}

std::optional<JobStore::Record> JobStore::latestForDocument(const QString& userId, const QString& type,
                                                            const QString& documentId) {
    return record(db_.row("SELECT * FROM jobs WHERE user_id = ? AND job_type = ? AND subject_id = ?"
                          " ORDER BY created_at DESC LIMIT 1",
                          {userId, type, documentId}));
}
