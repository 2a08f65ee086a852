#include "Storage/BoundStatement.h"

#include <QByteArray>

namespace {

// One past the end of the quoted literal or identifier, or the comment, that starts at `i`; -1
// when none starts there. One left open runs to the end.
qsizetype skipped(QStringView sql, qsizetype i) {
    const QChar c = sql[i];
    if (c == '\'' || c == '"') {
        qsizetype end = sql.indexOf(c, i + 1);
        // A doubled quote stands for one and continues the literal.
        while (end >= 0 && end + 1 < sql.size() && sql[end + 1] == c)
            end = sql.indexOf(c, end + 2);
        return end < 0 ? sql.size() : end + 1;
    }
    if (sql.mid(i).startsWith(u"--")) {
        const qsizetype end = sql.indexOf('\n', i);
        return end < 0 ? sql.size() : end + 1;
    }
    if (sql.mid(i).startsWith(u"/*")) {
        const qsizetype end = sql.indexOf(u"*/", i + 2);
        return end < 0 ? sql.size() : end + 2;
    }
    return -1;
}

} // namespace

QString BoundStatement::literal(const QVariant& value) {
    if (value.isNull())
        return QStringLiteral("NULL");
    if (value.typeId() == QMetaType::QByteArray)
        return "'\\x" + QString::fromLatin1(value.toByteArray().toHex()) + '\'';
    QString text = value.typeId() == QMetaType::Bool ? QString(value.toBool() ? '1' : '0') : value.toString();
    return '\'' + text.replace('\'', QStringLiteral("''")) + '\'';
}

std::optional<QString> BoundStatement::forPostgreSql(const QString& sql, const QVariantList& values) {
    QString result;
    result.reserve(sql.size() + 16 * values.size());
    qsizetype next = 0;
    for (qsizetype i = 0; i < sql.size();) {
        if (const qsizetype end = skipped(sql, i); end > 0) {
            result += QStringView(sql).mid(i, end - i);
            i = end;
            continue;
        }
        if (sql[i] == '?') {
            if (next == values.size())
                return std::nullopt;
            result += literal(values.at(next++));
        } else {
            result += sql[i];
        }
        ++i;
    }
    if (next != values.size())
        return std::nullopt;
    return result;
}
