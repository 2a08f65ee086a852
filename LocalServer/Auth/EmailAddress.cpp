#include "Auth/EmailAddress.h"

QString EmailAddress::normalized(const QString& address) {
    QString normal = address.trimmed().toLower();
    while (normal.endsWith(QLatin1Char('.')))
        normal.chop(1);
    return normal;
}
