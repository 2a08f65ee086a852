#include "Storage/RandomId.h"

#include <QRandomGenerator>

namespace RandomId {

QString make(const QString& prefix) {
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString id = prefix + '_';
    for (int i = 0; i < 24; ++i)
        id += QChar(alphabet[QRandomGenerator::system()->bounded(62)]);
    return id;
}

QByteArray bytes(int count) {
    QByteArray out(count, Qt::Uninitialized);
    for (char& byte : out)
        byte = char(QRandomGenerator::system()->bounded(256));
    return out;
}

QString digits(int count) {
    QString out;
    for (int i = 0; i < count; ++i)
        out += QChar('0' + QRandomGenerator::system()->bounded(10));
    return out;
}

} // namespace RandomId
