#include "Text/InlineMarkdown.h"

#include <QFont>
#include <QStringList>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextFragment>

namespace {

bool isThematicBreak(QStringView line) {
    const QChar marker = line.front();
    if (marker != u'-' && marker != u'*' && marker != u'_')
        return false;
    qsizetype count = 0;
    for (QChar c : line) {
        if (c == marker)
            ++count;
        else if (c != u' ' && c != u'\t')
            return false;
    }
    return count >= 3;
}

QString styledFragment(const QTextFragment& fragment) {
    QString text = fragment.text().toHtmlEscaped();
    text.replace(QChar::LineSeparator, u"<br>"_qs);
    text.replace(QChar::Nbsp, u"&nbsp;"_qs);
    const QTextCharFormat format = fragment.charFormat();
    if (format.fontStrikeOut())
        text = QStringLiteral("<s>") + text + QStringLiteral("</s>");
    if (format.fontItalic())
        text = QStringLiteral("<i>") + text + QStringLiteral("</i>");
    if (format.fontWeight() >= QFont::DemiBold)
        text = QStringLiteral("<b>") + text + QStringLiteral("</b>");
    if (format.isAnchor() && !format.anchorHref().isEmpty())
        text = QStringLiteral("<a href=\"") + format.anchorHref().toHtmlEscaped() + QStringLiteral("\">") +
               text + QStringLiteral("</a>");
    return text;
}

QString styledPiece(QStringView text) {
    QTextDocument document;
    document.setMarkdown(InlineMarkdown::escapeBlockSyntax(text),
                         QTextDocument::MarkdownFeatures(QTextDocument::MarkdownDialectGitHub |
                                                         QTextDocument::MarkdownNoHTML));
    QStringList blocks;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QString styled;
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().isValid() && !it.fragment().charFormat().isImageFormat())
                styled += styledFragment(it.fragment());
        blocks.append(styled);
    }
    return blocks.join(u"<br>");
}

// QTextDocument's Markdown import takes time quadratic in the length of a paragraph with many
// inline spans, so a very long line is rendered in pieces cut at spaces. Emphasis that crosses a
// cut shows its markers.
QString styledLine(QStringView line) {
    constexpr qsizetype longestPiece = 1000;
    QString styled;
    while (line.size() > longestPiece) {
        qsizetype cut = line.lastIndexOf(u' ', longestPiece);
        const bool atSpace = cut > 0;
        if (!atSpace)
            cut = line[longestPiece - 1].isHighSurrogate() ? longestPiece - 1 : longestPiece;
        styled += styledPiece(line.left(cut));
        if (atSpace)
            styled += u' ';
        line = line.mid(atSpace ? cut + 1 : cut);
    }
    return styled + styledPiece(line);
}

} // namespace

QString InlineMarkdown::escapeBlockSyntax(QStringView line) {
    QString text = line.trimmed().toString();
    if (text.isEmpty())
        return text;
    const QChar first = text.front();
    const bool spaceAfterFirst = text.size() == 1 || text[1] == u' ' || text[1] == u'\t';
    if (first == u'#' || first == u'>' || first == u'|' || text.startsWith(u"```") ||
        text.startsWith(u"~~~") || ((first == u'-' || first == u'+' || first == u'*') && spaceAfterFirst) ||
        isThematicBreak(text))
        return u'\\' + text;
    qsizetype digits = 0;
    while (digits < text.size() && text[digits] >= u'0' && text[digits] <= u'9')
        ++digits;
    if (digits > 0 && digits < text.size() && (text[digits] == u'.' || text[digits] == u')') &&
        (digits + 1 == text.size() || text[digits + 1] == u' ' || text[digits + 1] == u'\t'))
        text.insert(digits, u'\\');
    return text;
}

QString InlineMarkdown::styledText(QStringView markdown) {
    QStringList lines;
    for (QStringView line : markdown.split(u'\n'))
        lines.append(styledLine(line));
    return lines.join(QStringLiteral("<br>"));
}
