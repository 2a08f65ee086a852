#include "ByteCountFormatter.h"

#include <QLocale>

#include <array>

namespace {

// value / divisor rounded to the nearest integer, ties to even.
qint64 roundedQuotient(qint64 value, qint64 divisor) {
    const qint64 quotient = value / divisor;
    const qint64 twiceRemainder = 2 * (value % divisor);
    if (twiceRemainder > divisor || (twiceRemainder == divisor && quotient % 2 == 1))
        return quotient + 1;
    return quotient;
}

} // namespace

QString ByteCountFormatter::fileString(qint64 bytes) {
    if (bytes == 0)
        return QStringLiteral("Zero KB");
    if (bytes == 1)
        return QStringLiteral("1 byte");
    const QLocale locale(QLocale::English, QLocale::UnitedStates);
    if (bytes < 1000)
        return locale.toString(bytes) + QStringLiteral(" bytes");

    struct Unit {
        const char* name;
        int decimals;
    };
    static constexpr std::array<Unit, 6> units{
        {{"KB", 0}, {"MB", 1}, {"GB", 2}, {"TB", 2}, {"PB", 2}, {"EB", 2}}};
    qint64 unitSize = 1000;
    for (std::size_t i = 0; i < units.size(); ++i, unitSize *= 1000) {
        qint64 scale = 1;
        for (int d = 0; d < units[i].decimals; ++d)
            scale *= 10;
        const qint64 scaled = roundedQuotient(bytes, unitSize / scale);
        // Move to the next unit when rounding reaches a thousand of this one.
        if (scaled >= 1000 * scale && i + 1 < units.size())
            continue;
        QString number = locale.toString(double(scaled) / double(scale), 'f', units[i].decimals);
        if (units[i].decimals > 0) {
            while (number.endsWith(QLatin1Char('0')))
                number.chop(1);
            if (number.endsWith(QLatin1Char('.')))
                number.chop(1);
        }
        return number + QLatin1Char(' ') + QLatin1String(units[i].name);
    }
    return {};
}
