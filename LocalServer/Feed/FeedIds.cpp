#include "Feed/FeedIds.h"

#include <QCryptographicHash>

namespace FeedIds {

QString make(const QString& prefix, const QStringList& parts) {
    // A separator that no part contains keeps ("ab", "c") apart from ("a", "bc").
    const QByteArray digest =
        QCryptographicHash::hash(parts.join(QChar(0x1f)).toUtf8(), QCryptographicHash::Sha256);
    return prefix + '_' + QString::fromLatin1(digest.toHex().left(20));
}

} // namespace FeedIds
