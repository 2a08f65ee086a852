#pragma once

#include "Storage/Database.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The schema, one entry per version. Each statement is written once in SQLite's syntax and its
// column types are translated for PostgreSQL; one that cannot be shared is given per engine.
class Migrations {
public:
    struct Statement {
        Statement(const char* text) : sql(QString::fromUtf8(text)) {}
        QString sql;
        // Set: the statement runs on this engine only.
        std::optional<Database::Engine> only;
    };

    static Statement only(Database::Engine engine, const char* sql);
    static int latest();
    // The statements that bring the schema from `version` - 1 to `version` on `engine`.
    static QStringList statements(int version, Database::Engine engine);
    // SQLite's column types as PostgreSQL names them: INTEGER → BIGINT (SQLite's integers are
    // 64-bit), REAL → DOUBLE PRECISION, BLOB → BYTEA, and an AUTOINCREMENT key → BIGSERIAL.
    static QString forPostgreSql(const QString& sql);
};
