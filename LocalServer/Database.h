#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>
#include <optional>

// The server's SQLite store with versioned schema migrations (PRAGMA user_version).
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
    std::optional<QVariantMap> row(const QString& sql, const QVariantList& values = {});
    QList<QVariantMap> rows(const QString& sql, const QVariantList& values = {});
    bool transaction();
    bool commit();

private:
    bool prepare(QSqlQuery& query, const QString& sql, const QVariantList& values);

    QString connectionName_;
    QSqlDatabase db_;
    QString lastError_;
};
