#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// A block of light Markdown: a heading, a bullet or numbered list item, or a paragraph.
struct MarkdownBlock {
    enum class Kind { heading, bullet, ordered, paragraph };

    static constexpr int maximumNestingLevel = 5;
    static constexpr int maximumHeadingLevel = 6;

    Kind kind = Kind::paragraph;
    int level = 0;  // heading level, or nesting level of a list item
    QString number; // ordered items only: the digits before "." or ")"
    QString text;

    static MarkdownBlock heading(int level, QString text) {
        return {Kind::heading, level, {}, std::move(text)};
    }
    static MarkdownBlock bullet(int level, QString text) {
        return {Kind::bullet, level, {}, std::move(text)};
    }
    static MarkdownBlock ordered(QString number, int level, QString text) {
        return {Kind::ordered, level, std::move(number), std::move(text)};
    }
    static MarkdownBlock paragraph(QString text) { return {Kind::paragraph, 0, {}, std::move(text)}; }

    // Splits text into blocks line by line. Consecutive paragraph lines form one paragraph, their
    // line breaks kept; a blank line or any other block ends it.
    static QList<MarkdownBlock> parse(QStringView markdown);
    // The nesting level of a list line: a tab is one level, two spaces are one level, at most 5.
    static int nestingLevel(QStringView line);

    bool operator==(const MarkdownBlock&) const = default;
};
