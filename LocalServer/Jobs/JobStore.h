#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

class Database;

// The jobs table. Each change of a job's state is one transaction, which also holds what the
// caller writes with it (`alongside`), so that a job's results and its state commit together.
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
    enum class Finish { Saved, NotProcessing, NotSaved };

    explicit JobStore(Database& db) : db_(db) {}

    // Writes a queued job inside the caller's transaction. False when the write failed. The
    // document or song its input names becomes its subject.
    bool add(const QString& id, const QString& userId, const QString& type, const QJsonObject& input,
             const QString& createdAt);
    std::optional<Record> find(const QString& id);
    std::optional<Record> findOf(const QString& id, const QString& userId);
    // Queued and processing jobs, oldest first.
    QList<Record> unfinished();
    void requeue(const QString& id);
    void start(const QString& id, const QString& at, const std::function<void()>& alongside);
    // Completes (with `result`) or fails (with `error`) a job that is still processing.
    Finish finish(const QString& id, const std::optional<QJsonObject>& result, const QString& error,
                  const QString& at, const std::function<void()>& alongside);
    void fail(const QString& id, const QString& error, const QString& at,
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
