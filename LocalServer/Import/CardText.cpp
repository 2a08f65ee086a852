#include "Import/CardText.h"

#include <QHash>
#include <QRegularExpression>

namespace {

// Only the tags rich-text exports write, so that "x < y and y > z" in a maths deck is kept.
const QString tagNames = QStringLiteral(
    "a|abbr|b|big|blockquote|br|center|code|del|div|em|font|h[1-6]|hr|i|img|ins|li|mark|ol|p|pre|s|small|"
    "span|strike|strong|sub|sup|table|tbody|td|th|thead|tr|u|ul|script|style");

const QRegularExpression& tagPattern() {
    // QRegularExpression is reentrant, not thread-safe: one per worker thread.
    thread_local const QRegularExpression pattern(QStringLiteral("<\\s*/?\\s*(?:%1)\\b[^<>]*>").arg(tagNames),
                                                  QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

const QRegularExpression& hiddenContentPattern() {
    thread_local const QRegularExpression pattern(
        QStringLiteral("<\\s*(script|style)\\b.*?<\\s*/\\s*\\1\\s*>"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    return pattern;
}

const QRegularExpression& lineBreakPattern() {
    thread_local const QRegularExpression pattern(QStringLiteral("<\\s*br\\s*/?\\s*>"),
                                                  QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

const QHash<QString, char32_t>& namedEntities() {
    static const QHash<QString, char32_t> entities = {
        {"amp", U'&'},         {"lt", U'<'},         {"gt", U'>'},         {"quot", U'"'},
        {"apos", U'\''},       {"nbsp", U' '},       {"ndash", U'\u2013'}, {"mdash", U'\u2014'},
        {"hellip", U'\u2026'}, {"lsquo", U'\u2018'}, {"rsquo", U'\u2019'}, {"ldquo", U'\u201c'},
        {"rdquo", U'\u201d'},  {"deg", U'\u00b0'},   {"times", U'\u00d7'}, {"divide", U'\u00f7'},
        {"plusmn", U'\u00b1'}, {"micro", U'\u00b5'}, {"copy", U'\u00a9'},  {"middot", U'\u00b7'}};
    return entities;
}

std::optional<char32_t> entityValue(QStringView name) {
    if (name.startsWith(u'#')) {
        const bool hex = name.size() > 1 && (name[1] == u'x' || name[1] == u'X');
        bool ok = false;
        const uint value = name.mid(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
        if (!ok || value == 0 || value > 0x10ffff || (value >= 0xd800 && value <= 0xdfff))
            return std::nullopt;
        return char32_t(value);
    }
    const auto found = namedEntities().constFind(name.toString());
    if (found == namedEntities().constEnd())
        return std::nullopt;
    return *found;
}

QString decodeEntities(const QString& text, bool* decoded) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&') {
            const qsizetype end = text.indexOf(u';', i + 1);
            if (end > i + 1 && end - i <= 10) {
                if (const auto value = entityValue(QStringView(text).mid(i + 1, end - i - 1))) {
                    out.append(QString::fromUcs4(&*value, 1));
                    *decoded = true;
                    i = end;
                    continue;
                }
            }
        }
        out.append(text[i]);
    }
    return out;
}

// C0 and C1 controls other than line breaks and tabs, and the invisible characters that can hide
// text from the reader (zero-width spaces, direction overrides, the byte order mark).
bool isHidden(char16_t c) {
    return (c < 0x20 && c != u'\n' && c != u'\t') || (c >= 0x7f && c <= 0x9f) ||
           (c >= 0x200b && c <= 0x200f) || (c >= 0x202a && c <= 0x202e) || (c >= 0x2060 && c <= 0x2064) ||
           (c >= 0x2066 && c <= 0x2069) || c == 0xfeff;
}

// Drops hidden characters, turns tabs into spaces, collapses runs of spaces, trims every line and
// keeps at most one empty line in a row.
QString tidy(const QString& text, bool* hadControls) {
    QString out;
    out.reserve(text.size());
    int newlines = 0;
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (isHidden(c)) {
            *hadControls = true;
            continue;
        }
        if (c == u'\n') {
            while (out.endsWith(u' '))
                out.chop(1);
            if (!out.isEmpty() && ++newlines <= 2)
                out.append(u'\n');
            continue;
        }
        if (c == u' ' || c == u'\t') {
            if (!out.isEmpty() && !out.endsWith(u' ') && !out.endsWith(u'\n'))
                out.append(u' ');
            continue;
        }
        newlines = 0;
        out.append(ch);
    }
    while (out.endsWith(u' ') || out.endsWith(u'\n'))
        out.chop(1);
    return out;
}

} // namespace

CardText CardText::clean(const QString& raw) {
    CardText result;
    QString text = raw;
    if (text.contains(u'<')) {
        const qsizetype before = text.size();
        text.replace(hiddenContentPattern(), QString());
        text.replace(lineBreakPattern(), QStringLiteral("\n"));
        text.replace(tagPattern(), QString());
        result.hadTags = text.size() != before;
    }
    if (text.contains(u'&'))
        text = decodeEntities(text, &result.hadEntities);
    result.text = tidy(text, &result.hadControls);
    return result;
}
