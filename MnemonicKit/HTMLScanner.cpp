#include "HTMLScanner.h"

HTMLScanner::HTMLScanner(QStringView text) : m_text(text), m_lastGreater(text.lastIndexOf(u'>')) {}

bool HTMLScanner::isWordChar(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u'_';
}

bool HTMLScanner::isSpace(QChar c) {
    const char16_t u = c.unicode();
    return u == u' ' || (u >= u'\t' && u <= u'\r');
}

bool HTMLScanner::hasWordAt(qsizetype pos, QLatin1StringView word) const {
    if (pos < 0 || pos + word.size() > m_text.size())
        return false;
    if (m_text.mid(pos, word.size()).compare(word, Qt::CaseInsensitive) != 0)
        return false;
    const qsizetype after = pos + word.size();
    return after == m_text.size() || !isWordChar(m_text[after]);
}

qsizetype HTMLScanner::tagEnd(qsizetype pos) const {
    if (pos + 1 >= m_lastGreater)
        return -1;
    const qsizetype greater = m_text.indexOf(u'>', pos + 1);
    return greater == pos + 1 ? -1 : greater + 1;
}

qsizetype HTMLScanner::openingTagEnd(qsizetype pos, QLatin1StringView name) const {
    if (m_text[pos] != u'<' || !hasWordAt(pos + 1, name))
        return -1;
    const qsizetype from = pos + 1 + name.size();
    if (from > m_lastGreater)
        return -1;
    return m_text.indexOf(u'>', from) + 1;
}

bool HTMLScanner::isClosingTag(qsizetype pos, QLatin1StringView name) const {
    return m_text[pos] == u'<' && pos + 1 < m_text.size() && m_text[pos + 1] == u'/' &&
           hasWordAt(pos + 2, name);
}

HTMLScanner::Range HTMLScanner::matchingClose(qsizetype from, QLatin1StringView name) const {
    int depth = 1;
    qsizetype pos = m_text.indexOf(u'<', from);
    while (pos >= 0) {
        qsizetype next = pos + 1;
        if (const qsizetype openEnd = openingTagEnd(pos, name); openEnd > 0) {
            ++depth;
            next = openEnd;
        } else if (isClosingTag(pos, name)) {
            const qsizetype greater =
                pos + 2 + name.size() > m_lastGreater ? -1 : m_text.indexOf(u'>', pos + 2 + name.size());
            const qsizetype closeEnd = greater < 0 ? m_text.size() : greater + 1;
            if (--depth == 0)
                return {pos, closeEnd};
            next = closeEnd;
        }
        pos = m_text.indexOf(u'<', next);
    }
    return {m_text.size(), m_text.size()};
}

HTMLScanner::Range HTMLScanner::firstClose(qsizetype from, QLatin1StringView name) const {
    qsizetype pos = m_text.indexOf(u'<', from);
    while (pos >= 0) {
        if (isClosingTag(pos, name)) {
            qsizetype end = pos + 2 + name.size();
            while (end < m_text.size() && isSpace(m_text[end]))
                ++end;
            if (end < m_text.size() && m_text[end] == u'>')
                return {pos, end + 1};
        }
        pos = m_text.indexOf(u'<', pos + 1);
    }
    return {};
}

HTMLScanner::Range HTMLScanner::firstOpeningTag(qsizetype from, QLatin1StringView name) const {
    qsizetype pos = m_text.indexOf(u'<', from);
    while (pos >= 0 && pos < m_lastGreater) {
        if (const qsizetype end = openingTagEnd(pos, name); end > 0)
            return {pos, end};
        pos = m_text.indexOf(u'<', pos + 1);
    }
    return {};
}
