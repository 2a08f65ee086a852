#include "HTMLTextConverter.h"

#include "HTMLEntities.h"
#include "HTMLScanner.h"

#include <QStringList>

#include <algorithm>
#include <array>

namespace {

const QString paragraphSeparator = QStringLiteral("\n\n");

// The parts of a tag body (between '<' and '>') that the conversion rules look at:
// "<\s*/?\s*name" followed by the rest.
struct TagParts {
    bool closing = false;
    QString name; // lower case
    QStringView rest;

    explicit TagParts(QStringView body) {
        qsizetype i = 0;
        auto skipSpaces = [&] {
            while (i < body.size() && HTMLScanner::isSpace(body[i]))
                ++i;
        };
        skipSpaces();
        if (i < body.size() && body[i] == u'/') {
            closing = true;
            ++i;
            skipSpaces();
        }
        const qsizetype nameStart = i;
        while (i < body.size() && HTMLScanner::isWordChar(body[i]))
            ++i;
        name = body.mid(nameStart, i - nameStart).toString().toLower();
        rest = body.mid(i);
    }

    bool restIsBlank() const {
        for (QChar c : rest)
            if (!HTMLScanner::isSpace(c))
                return false;
        return true;
    }
    bool isOpen(std::initializer_list<QStringView> names) const { return !closing && matches(names); }
    bool isBareClose(std::initializer_list<QStringView> names) const {
        return closing && matches(names) && restIsBlank();
    }
    bool matches(std::initializer_list<QStringView> names) const {
        for (QStringView n : names)
            if (name == n)
                return true;
        return false;
    }
    bool isLineBreak() const {
        if (closing || name != u"br")
            return false;
        const QStringView trimmed = rest.trimmed();
        return trimmed.isEmpty() || trimmed == u"/";
    }
};

QString markdownForTag(QStringView body) {
    const TagParts tag(body);
    if (tag.isOpen({u"strong", u"b"}) || tag.isBareClose({u"strong", u"b"}))
        return QStringLiteral("**");
    if (tag.isOpen({u"em", u"i"}) || tag.isBareClose({u"em", u"i"}))
        return QStringLiteral("*");
    if (tag.isOpen({u"h4", u"h5", u"h6"}))
        return QStringLiteral("\n\n**");
    if (tag.isBareClose({u"h4", u"h5", u"h6"}))
        return QStringLiteral("**\n\n");
    if (tag.isOpen({u"li"}))
        return QStringLiteral("\n- ");
    if (tag.isBareClose({u"li"}))
        return {};
    if (tag.matches({u"ul", u"ol"}))
        return QStringLiteral("\n");
    if (tag.isBareClose({u"td", u"th"}))
        return QStringLiteral(" \u2014 ");
    if (tag.matches({u"table", u"thead", u"tbody", u"tr", u"td", u"th"}))
        return {};
    if (tag.isLineBreak())
        return QStringLiteral("\n");
    if (tag.isOpen({u"p"}) || tag.isBareClose({u"p"}))
        return QStringLiteral("\n\n");
    if (tag.isOpen({u"div"}) || tag.isBareClose({u"div"}))
        return paragraphSeparator;
    return QStringLiteral(" ");
}

// Calls `replace` with the body of every tag and substitutes what it returns.
template <typename Replace> QString replaceTags(QStringView html, Replace replace) {
    const HTMLScanner scanner(html);
    QString out;
    out.reserve(html.size());
    qsizetype copied = 0;
    qsizetype pos = html.indexOf(u'<');
    while (pos >= 0) {
        const qsizetype end = scanner.tagEnd(pos);
        if (end < 0) {
            pos = html.indexOf(u'<', pos + 1);
            continue;
        }
        out.append(html.mid(copied, pos - copied));
        out.append(replace(html.mid(pos + 1, end - pos - 2), html.mid(pos, end - pos)));
        copied = end;
        pos = html.indexOf(u'<', end);
    }
    out.append(html.mid(copied));
    return out;
}

bool isHorizontalSpace(QChar c) {
    return c != u'\n' && c.isSpace();
}

// Collapses blanks, strips every line, drops the " —" that the last cell of a table row leaves,
// keeps at most one empty line in a row and trims the whole.
QString tidyMarkdown(const QString& text) {
    QString collapsed;
    collapsed.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u' ' || c == u'\t') {
            if (collapsed.isEmpty() || collapsed.back() != u' ')
                collapsed.append(u' ');
        } else {
            collapsed.append(c);
        }
    }
    QStringList lines;
    int emptyRun = 0;
    for (QStringView line : QStringView(collapsed).split(u'\n')) {
        qsizetype start = 0;
        qsizetype end = line.size();
        while (start < end && isHorizontalSpace(line[start]))
            ++start;
        while (end > start && line[end - 1] == u' ')
            --end;
        line = line.mid(start, end - start);
        if (line.endsWith(u" \u2014"))
            line.chop(2);
        emptyRun = line.isEmpty() ? emptyRun + 1 : 0;
        if (emptyRun < 2)
            lines.append(line.toString());
    }
    return lines.join(u'\n').trimmed();
}

} // namespace

QString HTMLTextConverter::plainText(QStringView html) {
    const QString decoded =
        HTMLEntities::decode(replaceTags(html, [](QStringView, QStringView) { return QStringLiteral(" "); }));
    QString out;
    out.reserve(decoded.size());
    for (QChar c : decoded) {
        if (c == u' ' || c == u'\t' || c == u'\n') {
            if (out.isEmpty() || out.back() != u' ')
                out.append(u' ');
        } else {
            out.append(c);
        }
    }
    return out.trimmed();
}

QString HTMLTextConverter::markdown(QStringView html) {
    return tidyMarkdown(HTMLEntities::decode(
        replaceTags(html, [](QStringView body, QStringView) { return markdownForTag(body); })));
}

QString HTMLTextConverter::dropBlockTags(QStringView html) {
    return replaceTags(html, [](QStringView body, QStringView tag) {
        // "</?(?:div|span|p|section|article|ul|ol|table|h[1-6])\b[^>]*>": no blank before the name
        qsizetype i = body.startsWith(u'/') ? 1 : 0;
        qsizetype nameEnd = i;
        while (nameEnd < body.size() && HTMLScanner::isWordChar(body[nameEnd]))
            ++nameEnd;
        const QString name = body.mid(i, nameEnd - i).toString().toLower();
        static constexpr std::array<QStringView, 14> blockNames{
            u"div",   u"span", u"p",  u"section", u"article", u"ul", u"ol",
            u"table", u"h1",   u"h2", u"h3",      u"h4",      u"h5", u"h6"};
        return std::find(blockNames.begin(), blockNames.end(), name) != blockNames.end() ? QStringLiteral(" ")
                                                                                         : tag.toString();
    });
}
