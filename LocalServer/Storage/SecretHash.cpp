#include "Storage/SecretHash.h"

#include <QCryptographicHash>

namespace SecretHash {

QString of(QStringView secret) {
    return QString::fromLatin1(QCryptographicHash::hash(secret.toUtf8(), QCryptographicHash::Sha256).toHex());
}

bool same(QByteArrayView a, QByteArrayView b) {
    unsigned char difference = a.size() == b.size() ? 0 : 1;
    for (qsizetype i = 0; i < qMin(a.size(), b.size()); ++i)
        difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    return difference == 0;
}

} // namespace SecretHash
