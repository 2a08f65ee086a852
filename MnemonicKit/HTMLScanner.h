#pragma once

#include <QLatin1StringView>
#include <QStringView>

// Finds tags in an HTML fragment by hand, in time linear in the fragment. Patterns such as
// "<div\b[^>]*>" or "<h3\b[^>]*>([\s\S]*?)</h3\s*>" retried at every start position by a regex engine
// go quadratic on input with many unterminated tags; these scans visit each character a bounded
// number of times. Names are ASCII and compared case-insensitively; "\b" and "\s" have their regex
// meaning.
class HTMLScanner {
public:
    struct Range {
        qsizetype start = -1;
        qsizetype end = -1;
        bool isValid() const { return start >= 0; }
    };

    explicit HTMLScanner(QStringView text);

    QStringView text() const { return m_text; }

    static bool isWordChar(QChar c);
    static bool isSpace(QChar c);

    // Whether `word` starts at pos, followed by a non-word character or the end.
    bool hasWordAt(qsizetype pos, QLatin1StringView word) const;
    // One past the '>' that ends a tag starting at pos ("<[^>]+>"), or -1.
    qsizetype tagEnd(qsizetype pos) const;
    // One past the end of the opening tag "<name\b[^>]*>" at pos, or -1.
    qsizetype openingTagEnd(qsizetype pos, QLatin1StringView name) const;
    bool isClosingTag(qsizetype pos, QLatin1StringView name) const;
    // The closing tag of the element whose content starts at `from`, skipping nested elements of the
    // same name. An unclosed element runs to the end: {size, size}.
    Range matchingClose(qsizetype from, QLatin1StringView name) const;
    // The first "</name\s*>" at or after `from`, or an invalid range.
    Range firstClose(qsizetype from, QLatin1StringView name) const;
    // The first opening tag "<name\b[^>]*>" at or after `from`, or an invalid range.
    Range firstOpeningTag(qsizetype from, QLatin1StringView name) const;

private:
    QStringView m_text;
    qsizetype m_lastGreater;
};
