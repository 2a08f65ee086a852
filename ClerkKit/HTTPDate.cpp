#include "HTTPDate.h"

#include <QLocale>
#include <QTimeZone>

namespace HTTPDate {

std::optional<QDateTime> parse(const QByteArray& text) {
    const QString trimmed = QString::fromLatin1(text).trimmed();
    const qsizetype space = trimmed.lastIndexOf(QLatin1Char(' '));
    if (space < 0)
        return std::nullopt;
    const QString zone = trimmed.mid(space + 1);
    if (zone != QLatin1String("GMT") && zone != QLatin1String("UTC") && zone != QLatin1String("UT"))
        return std::nullopt;
    QDateTime date =
        QLocale::c().toDateTime(trimmed.left(space), QStringLiteral("ddd, dd MMM yyyy HH:mm:ss"));
    if (!date.isValid())
        return std::nullopt;
    date.setTimeZone(QTimeZone::utc());
    return date;
}

} // namespace HTTPDate
