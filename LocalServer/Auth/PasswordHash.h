#pragma once

#include <QString>

// Salted PBKDF2-SHA256 password hashes in the form "pbkdf2$<iterations>$<salt>$<hash>".
namespace PasswordHash {
QString make(const QString& password);
bool matches(const QString& password, const QString& stored);
} // namespace PasswordHash
