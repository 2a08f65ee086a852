#pragma once

#include <QString>
#include <QVariantList>
#include <optional>

// A statement with its positional `?` values written into it as PostgreSQL literals, so that it
// goes to the server in one round trip (QPSQL would PREPARE, EXECUTE and DEALLOCATE). Each value
// is a quoted literal of no declared type, which PostgreSQL types from where it stands, as it
// types an untyped parameter: '42' compares with a BIGINT column and with a TEXT one alike.
// Null is NULL, a bool is 1 or 0 (the schema stores flags as integers) and a QByteArray is bytes
// for a BYTEA column. Marks inside quotes and comments are left alone.
class BoundStatement {
public:
    // Nothing when the number of marks and of values differ.
    static std::optional<QString> forPostgreSql(const QString& sql, const QVariantList& values);
    // Needs standard_conforming_strings, on by default since PostgreSQL 9.1: a backslash in a
    // quoted literal is an ordinary character.
    static QString literal(const QVariant& value);
};
