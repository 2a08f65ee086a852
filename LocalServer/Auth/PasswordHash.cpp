#include "Auth/PasswordHash.h"

#include "Storage/RandomId.h"

#include <QPasswordDigestor>
#include <QStringList>

namespace PasswordHash {
namespace {
constexpr int iterations = 10000;

QByteArray derive(const QString& password, const QByteArray& salt, int rounds) {
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, password.toUtf8(), salt, rounds,
                                              32);
}
} // namespace

QString make(const QString& password) {
    const QByteArray salt = RandomId::bytes(16);
    return QStringLiteral("pbkdf2$%1$%2$%3")
        .arg(QString::number(iterations), QString::fromLatin1(salt.toBase64()),
             QString::fromLatin1(derive(password, salt, iterations).toBase64()));
}

bool matches(const QString& password, const QString& stored) {
    const QStringList parts = stored.split('$');
    if (parts.size() != 4 || parts[0] != "pbkdf2")
        return false;
    const QByteArray expected = QByteArray::fromBase64(parts[3].toLatin1());
    const QByteArray actual = derive(password, QByteArray::fromBase64(parts[2].toLatin1()), parts[1].toInt());
    unsigned char difference = expected.size() == actual.size() ? 0 : 1;
    for (qsizetype i = 0; i < qMin(expected.size(), actual.size()); ++i)
        difference |= static_cast<unsigned char>(expected[i] ^ actual[i]);
    return difference == 0;
}

} // namespace PasswordHash
