#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>
#include <functional>
#include <optional>

// The server's SQLite store with versioned schema migrations (PRAGMA user_version). Each thread
// that uses it gets a connection of its own, opened on first use and closed when the thread
// ends; SQLite's WAL lets them read side by side while one writes.
class Database {
public:
    Database();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens (creating when needed) the file; false with a message in lastError() on failure.
    bool open(const QString& path);
    // Applies the migrations above the current version, each in its own transaction, up to
    // `targetVersion` (default: all).
    bool migrate(int targetVersion = latestVersion());
    int schemaVersion() const;
    static int latestVersion();
    QString lastError() const { return lastError_; }

    // Run one statement with positional bindings; failures are logged and reported as false or
    // as no rows.
    bool exec(const QString& sql, const QVariantList& values = {});
    // As exec; the number of rows the statement changed, or -1 when it failed.
    int changed(const QString& sql, const QVariantList& values = {});
    std::optional<QVariantMap> row(const QString& sql, const QVariantList& values = {});
    QList<QVariantMap> rows(const QString& sql, const QVariantList& values = {});
    // BEGIN IMMEDIATE: the write lock is taken at once, so two writers queue up (for up to the
    // busy timeout) instead of one failing when it upgrades a read.
    bool transaction();
    bool commit();
    bool rollback();
    // Runs `work` in one transaction: committed when it answers true, rolled back when false.
    bool inTransaction(const std::function<bool()>& work);

private:
    // This thread's connection, opened when it first asks.
    QSqlDatabase connection();
    bool configure(QSqlDatabase& db);
    bool prepare(QSqlQuery& query, const QString& sql, const QVariantList& values);

    QString connectionPrefix_;
    QString path_;
    QString lastError_; // of open() and migrate(), which run before any other thread uses the store
};
