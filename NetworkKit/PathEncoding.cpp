#include "PathEncoding.h"

#include <QUrl>

namespace PathEncoding {

QString pathComponent(const QString& text) {
    return QString::fromLatin1(QUrl::toPercentEncoding(text, "!$&'()*+,;=:@/"));
}

QString queryValue(const QString& text) {
    return QString::fromLatin1(QUrl::toPercentEncoding(text, "!$'()*,;:@/?"));
}

} // namespace PathEncoding
