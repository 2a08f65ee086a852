#include "DeviceToken.h"

#include <QRandomGenerator>

#include <algorithm>
#include <array>

QString DeviceToken::text(QByteArrayView bytes) {
    return QString::fromLatin1(bytes.toByteArray().toHex());
}

QString DeviceToken::generate() {
    std::array<quint32, byteCount / sizeof(quint32)> words;
    QRandomGenerator::system()->fillRange(words.data(), qsizetype(words.size()));
    return text(QByteArrayView(reinterpret_cast<const char*>(words.data()), byteCount));
}

bool DeviceToken::isWellFormed(const QString& token) {
    return token.size() == 2 * byteCount && std::ranges::all_of(token, [](QChar c) {
               return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f');
           });
}
