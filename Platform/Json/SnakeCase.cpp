#include "SnakeCase.h"

#include <QStringList>

namespace json {

namespace {
qsizetype findFrom(const QString& s, qsizetype from, qsizetype to, bool (*pred)(QChar)) {
    for (qsizetype i = from; i < to; ++i)
        if (pred(s[i]))
            return i;
    return -1;
}
bool isUpper(QChar c) {
    return c.isUpper() || c.isTitleCase();
}
bool isLower(QChar c) {
    return c.isLower();
}
} // namespace

QString convertToSnakeCase(const QString& key) {
    if (key.isEmpty())
        return key;
    // Words split where a lower-case run meets an upper-case letter, and where a run of several
    // capitals meets a lower-case letter (the last capital starts the next word).
    QStringList words;
    qsizetype wordStart = 0;
    qsizetype searchStart = 1;
    const qsizetype end = key.size();
    while (true) {
        const qsizetype upper = findFrom(key, searchStart, end, isUpper);
        if (upper < 0)
            break;
        words << key.mid(wordStart, upper - wordStart);
        const qsizetype lower = findFrom(key, upper, end, isLower);
        if (lower < 0) {
            wordStart = upper;
            searchStart = end;
            break;
        }
        if (lower == upper + 1) {
            wordStart = upper;
        } else {
            words << key.mid(upper, lower - 1 - upper);
            wordStart = lower - 1;
        }
        searchStart = lower + 1;
    }
    words << key.mid(wordStart, end - wordStart);
    for (auto& w : words)
        w = w.toLower();
    return words.join(QLatin1Char('_'));
}

QString convertFromSnakeCase(const QString& key) {
    if (key.isEmpty())
        return key;
    qsizetype first = 0;
    while (first < key.size() && key[first] == QLatin1Char('_'))
        ++first;
    if (first == key.size())
        return key;
    qsizetype last = key.size() - 1;
    while (last > first && key[last] == QLatin1Char('_'))
        --last;

    const QString core = key.mid(first, last - first + 1);
    const QStringList parts = core.split(QLatin1Char('_'), Qt::SkipEmptyParts);
    QString joined;
    if (parts.size() == 1) {
        joined = core; // no inner underscores: may already be camel case
    } else {
        joined = parts[0].toLower();
        for (qsizetype i = 1; i < parts.size(); ++i) {
            const QString& p = parts[i];
            joined += p.left(1).toUpper() + p.mid(1).toLower();
        }
    }
    return key.left(first) + joined + key.mid(last + 1);
}

} // namespace json
