#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Secrets the server must recognise but never show again (device tokens, backup codes) are kept
// only as hashes, so a copy of the database signs no one in.
namespace SecretHash {
// SHA-256 of the UTF-8 text in lower-case hex: enough for long random tokens, which cannot be
// guessed from their hash.
QString of(QStringView secret);
// Compares in constant time, so that timing does not reveal how much of a guess was right.
bool same(QByteArrayView a, QByteArrayView b);
} // namespace SecretHash
