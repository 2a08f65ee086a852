#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class Database;

// The jobs table, shared by every server process on the database. A process runs a job only while
// it holds the job's lease (the owner and expiry columns), so that each change of state below is
// conditional on holding it; each change is one transaction, which also holds what the caller
// writes with it (`alongside`), so that a job's results and its state commit together.
class JobStore {
public:
    struct Record {
        QString id;
        QString userId;
        QString type;
        QString status; // queued, processing, complete, failed
        QJsonObject input;
        int starts = 0;
        QString createdAt; // ISO 8601 with milliseconds; the others are empty until set
        QString startedAt;
        QString completedAt;
        std::optional<QJsonObject> result;
        QString error;
    };
    // NotHeld: the job was deleted with its user, is finished already, or another process took
    // it over after this one's lease ran out.
    enum class Finish { Saved, NotHeld, NotSaved };

    explicit JobStore(Database& db) : db_(db) {}

    // Writes a queued job inside the caller's transaction. False when the write failed. The
    // document or song its input names becomes its subject.
    bool add(const QString& id, const QString& userId, const QString& type, const QJsonObject& input,
             const QString& createdAt);
    std::optional<Record> find(const QString& id);
    std::optional<Record> findOf(const QString& id, const QString& userId);

    // Gives `owner` the oldest unfinished job, other than those in `running`, that no process holds
    // at `now`: never claimed, released, or left by a process that stopped renewing its lease.
    // Leased until `expires`. Nothing when there is none, or when another process was first.
    std::optional<Record> claim(const QString& owner, const QStringList& running, qint64 now, qint64 expires);
    // Extends `owner`'s leases of the jobs `ids` to `expires`.
    void renew(const QString& owner, const QStringList& ids, qint64 expires);
    // Lets another process claim `owner`'s unfinished jobs (all of them, or those in `ids`) at once.
    void release(const QString& owner, const QStringList& ids = {});
    // Moves a job that `owner` holds to "processing" and counts the start; false when it no longer
    // holds it.
    bool start(const QString& id, const QString& owner, const QString& at,
               const std::function<void()>& alongside);
    // Completes (with `result`) or fails (with `error`) a job that `owner` holds while it is
    // processing.
    Finish finish(const QString& id, const QString& owner, const std::optional<QJsonObject>& result,
                  const QString& error, const QString& at, const std::function<void()>& alongside);
    // Fails a job that `owner` holds; false when it no longer holds it.
    bool fail(const QString& id, const QString& owner, const QString& error, const QString& at,
              const std::function<void()>& alongside);

    // The latest job of the user's of `type` with exactly this input that completed.
    std::optional<Record> latestComplete(const QString& userId, const QString& type,
                                         const QJsonObject& input);
    // The latest job of the user's of `type` about the document.
    std::optional<Record> latestForDocument(const QString& userId, const QString& type,
                                            const QString& documentId);

private:
    Database& db_;
};
