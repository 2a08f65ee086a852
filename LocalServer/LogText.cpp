#include "LogText.h"

namespace LogText {

namespace {

QString escaped(QChar c) {
    switch (c.unicode()) {
    case '\\':
        return QStringLiteral("\\\\");
    case '\n':
        return QStringLiteral("\\n");
    case '\r':
        return QStringLiteral("\\r");
    case '\t':
        return QStringLiteral("\\t");
    default:
        break;
    }
    const char16_t code = c.unicode();
    if (code < 0x20 || code == 0x7f)
        return QStringLiteral("\\x%1").arg(code, 2, 16, QLatin1Char('0'));
    if ((code >= 0x80 && code < 0xa0) || code == 0x2028 || code == 0x2029)
        return QStringLiteral("\\u%1").arg(code, 4, 16, QLatin1Char('0'));
    return QString(c);
}

} // namespace

QString clean(QStringView text, qsizetype maxChars) {
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QString piece = escaped(text[i]);
        if (out.size() + piece.size() > maxChars) {
            out += QStringLiteral("…");
            break;
        }
        out += piece;
    }
    return out;
}

} // namespace LogText
