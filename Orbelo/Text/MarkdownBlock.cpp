#include "Text/MarkdownBlock.h"

#include <QStringList>
#include <algorithm>
#include <optional>

namespace {

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

std::optional<MarkdownBlock> headingOf(QStringView line) {
    qsizetype markers = 0;
    while (markers < line.size() && line[markers] == u'#')
        ++markers;
    if (markers == 0 || markers > MarkdownBlock::maximumHeadingLevel)
        return std::nullopt;
    if (markers < line.size() && !line[markers].isSpace())
        return std::nullopt;
    return MarkdownBlock::heading(int(markers), line.mid(markers).trimmed().toString());
}

std::optional<QStringView> bulletText(QStringView line) {
    for (QStringView marker : {QStringView(u"- "), QStringView(u"* "), QStringView(u"\u2022 ")})
        if (line.startsWith(marker))
            return line.mid(marker.size()).trimmed();
    return std::nullopt;
}

std::optional<MarkdownBlock> orderedOf(QStringView line, int level) {
    qsizetype digits = 0;
    while (digits < line.size() && isAsciiDigit(line[digits]))
        ++digits;
    if (digits == 0 || digits + 1 >= line.size())
        return std::nullopt;
    const QChar delimiter = line[digits];
    if ((delimiter != u'.' && delimiter != u')') || line[digits + 1] != u' ')
        return std::nullopt;
    return MarkdownBlock::ordered(line.left(digits).toString(), level,
                                  line.mid(digits + 2).trimmed().toString());
}

} // namespace

int MarkdownBlock::nestingLevel(QStringView line) {
    int tabs = 0;
    int spaces = 0;
    for (QChar c : line) {
        if (c == u'\t')
            ++tabs;
        else if (c == u' ')
            ++spaces;
        else
            break;
    }
    return std::min(tabs + spaces / 2, maximumNestingLevel);
}

QList<MarkdownBlock> MarkdownBlock::parse(QStringView markdown) {
    QList<MarkdownBlock> blocks;
    QStringList paragraph;
    auto endParagraph = [&] {
        if (!paragraph.isEmpty())
            blocks.append(MarkdownBlock::paragraph(paragraph.join(u'\n')));
        paragraph.clear();
    };
    const QString text = markdown.toString().replace(u"\r\n"_qs, u"\n"_qs);
    for (QStringView line : QStringView(text).split(u'\n')) {
        const QStringView trimmed = line.trimmed();
        if (trimmed.isEmpty()) {
            endParagraph();
            continue;
        }
        std::optional<MarkdownBlock> block = headingOf(trimmed);
        if (!block) {
            if (const std::optional<QStringView> bullet = bulletText(trimmed))
                block = MarkdownBlock::bullet(nestingLevel(line), bullet->toString());
        }
        if (!block)
            block = orderedOf(trimmed, nestingLevel(line));
        if (!block) {
            paragraph.append(trimmed.toString());
            continue;
        }
        endParagraph();
        blocks.append(*block);
    }
    endParagraph();
    return blocks;
}
