#pragma once

#include <QString>
#include <QStringView>

// Renders the inline Markdown of one block (bold, italic, strikethrough, links) into the styled-text
// subset of HTML that a QML Text shows with textFormat: Text.StyledText. Only inline syntax is
// interpreted: a line that would open a list, quote, heading or rule stays literal, and line breaks
// in the text are kept.
class InlineMarkdown {
public:
    static QString styledText(QStringView markdown);
    // Backslash-escapes what would make a line a block of its own in CommonMark.
    static QString escapeBlockSyntax(QStringView line);
};
