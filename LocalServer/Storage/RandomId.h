#pragma once

#include <QByteArray>
#include <QString>

// Random identifiers and secrets from the system's cryptographic generator.
namespace RandomId {
// prefix + "_" + 24 random letters and digits, e.g. "sess_2bX…".
QString make(const QString& prefix);
QByteArray bytes(int count);
// A string of `count` decimal digits (verification codes).
QString digits(int count);
} // namespace RandomId
