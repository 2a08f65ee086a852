#pragma once

#include <QString>
#include <QStringView>

// Turns an HTML fragment into plain text or into light Markdown. Both walk the tags once from left
// to right; tags are "<[^>]+>" as a regex would find them.
class HTMLTextConverter {
public:
    // Every tag becomes a space, entities are decoded, runs of spaces, tabs and newlines collapse.
    static QString plainText(QStringView html);
    // Emphasis, small headings, lists, line and paragraph breaks become Markdown; table cells are
    // separated by " — "; every other tag becomes a space.
    static QString markdown(QStringView html);
    // Replaces the structural tags (div, span, p, section, article, ul, ol, table, h1–h6) by spaces
    // and keeps the others, so that a fragment reads as one run of inline text.
    static QString dropBlockTags(QStringView html);
};
