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

// "?, ?, ?" for an IN list of `count` values.
QString placeholders(qsizetype count) {
    return QStringList(count, QStringLiteral("?")).join(", ");
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

std::optional<JobStore::Record> JobStore::claim(const QString& owner, const QStringList& running, qint64 now,
                                                qint64 expires) {
    // One statement, so two processes cannot both take a job: the second finds the condition no
    // longer true of the row and changes nothing. The jobs `running` here are left alone even
    // when their lease is late with its renewal.
    QString claimable =
        QStringLiteral("status IN ('queued', 'processing') AND (lease_owner IS NULL OR lease_expires <= ?)");
    QVariantList condition{now};
    if (!running.isEmpty()) {
        claimable += " AND id NOT IN (" + placeholders(running.size()) + ")";
        for (const QString& id : running)
            condition.append(id);
    }
    const QVariantList values = QVariantList{owner, expires} + condition + condition;
    return record(db_.row("UPDATE jobs SET lease_owner = ?, lease_expires = ? WHERE " + claimable +
                              " AND id = (SELECT id FROM jobs WHERE " + claimable +
                              " ORDER BY created_at, id LIMIT 1) RETURNING *",
                          values));
}

void JobStore::renew(const QString& owner, const QStringList& ids, qint64 expires) {
    if (ids.isEmpty())
        return;
    QVariantList values{expires, owner};
    for (const QString& id : ids)
        values.append(id);
    db_.exec("UPDATE jobs SET lease_expires = ? WHERE lease_owner = ? AND status IN ('queued', 'processing')"
             " AND id IN (" +
                 placeholders(ids.size()) + ")",
             values);
}

void JobStore::release(const QString& owner, const QStringList& ids) {
    QVariantList values{owner};
    for (const QString& id : ids)
        values.append(id);
    db_.exec("UPDATE jobs SET lease_owner = NULL, lease_expires = 0 WHERE lease_owner = ?"
             " AND status IN ('queued', 'processing')" +
                 (ids.isEmpty() ? QString() : " AND id IN (" + placeholders(ids.size()) + ")"),
             values);
}

bool JobStore::start(const QString& id, const QString& owner, const QString& at,
                     const std::function<void()>& alongside) {
    return db_.inTransaction([&] {
        if (db_.changed("UPDATE jobs SET status = 'processing', started_at = ?, starts = starts + 1"
                        " WHERE id = ? AND lease_owner = ? AND status IN ('queued', 'processing')",
                        {at, id, owner}) != 1)
            return false;
        if (alongside)
            alongside();
        return true;
    });
}

JobStore::Finish JobStore::finish(const QString& id, const QString& owner,
                                  const std::optional<QJsonObject>& result, const QString& error,
                                  const QString& at, const std::function<void()>& alongside) {
    Finish refused = Finish::NotSaved;
    const bool saved = db_.inTransaction([&] {
        const int changed =
            db_.changed("UPDATE jobs SET status = ?, result = ?, error = ?, completed_at = ?"
                        " WHERE id = ? AND lease_owner = ? AND status = 'processing'",
                        {result ? "complete" : "failed", result ? QVariant(compact(*result)) : QVariant(),
                         result ? QVariant() : QVariant(error), at, id, owner});
        refused = changed == 0 ? Finish::NotHeld : Finish::NotSaved;
        if (changed != 1)
            return false;
        if (alongside)
            alongside();
        FailPoint::reach("job-before-commit");
        return true;
    });
    return saved ? Finish::Saved : refused;
}

bool JobStore::fail(const QString& id, const QString& owner, const QString& error, const QString& at,
                    const std::function<void()>& alongside) {
    return db_.inTransaction([&] {
        if (db_.changed("UPDATE jobs SET status = 'failed', error = ?, completed_at = ?"
                        " WHERE id = ? AND lease_owner = ? AND status IN ('queued', 'processing')",
                        {error, at, id, owner}) != 1)
            return false;
        if (alongside)
            alongside();
        return true;
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
