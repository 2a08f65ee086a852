#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// Cleans loosely formatted song lyrics into display lines: section headers, lyric lines and single
// blank separators. Metadata before the song body, takeaway lines and separator rules are dropped.
class LyricsText {
public:
    struct Line {
        enum class Kind { header, lyric, blank };

        Kind kind = Kind::blank;
        QString text;

        static Line header(QString text) { return {Kind::header, std::move(text)}; }
        static Line lyric(QString text) { return {Kind::lyric, std::move(text)}; }
        static Line blank() { return {Kind::blank, {}}; }

        bool operator==(const Line&) const = default;
    };

    static QList<Line> parse(QStringView lyrics);
    // The line without "*", without anything before its first letter, trimmed: what the takeaway and
    // metadata rules look at.
    static QString normalized(QStringView line);
};
