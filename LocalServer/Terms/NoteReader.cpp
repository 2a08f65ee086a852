#include "Terms/NoteReader.h"

#include "Terms/CommonWords.h"

#include <QHash>
#include <QRegularExpression>

namespace NoteReader {
namespace {

const QRegularExpression& markdownHeading() {
    static const QRegularExpression pattern(R"(^\s*#{1,6}\s+(.+?)\s*#*\s*$)");
    return pattern;
}

const QRegularExpression& bullet() {
    static const QRegularExpression pattern(R"(^\s*(?:[-*•+▪◦‣–]|\d{1,3}[.)]|[a-z][.)])\s+)");
    return pattern;
}

// "Term: meaning", "Term — meaning", "Term - meaning": a short term, then at least a few words.
const QRegularExpression& glossaryLine() {
    static const QRegularExpression pattern(
        R"(^\s*(?:\*\*|__)?([\p{L}\p{N}][^:.!?—–]{0,60}?)(?:\*\*|__)?\s*(?::|\s[—–]|\s-|\s?=)\s+(\S.{5,})$)");
    return pattern;
}

bool isKnownWord(const QString& word) {
    const CommonWords& words = CommonWords::instance();
    return words.contains(word) || words.contains(word.toLower());
}

// "mito-\nchondria" → "mitochondria"; "three-\ncarbon" keeps its hyphen, both halves being words.
QString joinBrokenWords(const QString& text) {
    static const QRegularExpression broken(R"((\p{L}+)-[ \t]*\n[ \t]*(\p{Ll}\p{L}*))");
    QString out;
    qsizetype at = 0;
    for (auto it = broken.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const QString first = match.captured(1);
        const QString second = match.captured(2);
        const bool compound = isKnownWord(first) && isKnownWord(second) && !isKnownWord(first + second);
        out += text.mid(at, match.capturedStart() - at) + first + (compound ? "-" : "") + second;
        at = match.capturedEnd();
    }
    return out + text.mid(at);
}

// Page numbers ("12", "- 12 -", "Page 12", "12 | Chapter 3") and lines repeated as running heads.
QStringList withoutPageFurniture(const QStringList& lines) {
    static const QRegularExpression pageNumber(
        R"(^\s*(?:[-–—]\s*)?(?:page\s+)?\d{1,4}(?:\s*[-–—])?(?:\s*\|.*)?\s*$|^.{0,60}\|\s*\d{1,4}\s*$)",
        QRegularExpression::CaseInsensitiveOption);
    // "86 PHYSICAL GEOGRAPHY", "PHYSICAL GEOGRAPHY 87": the same head with another page number.
    static const QRegularExpression digits(R"(\d+)");
    QHash<QString, int> seen;
    for (const QString& line : lines) {
        const QString key = QString(line).remove(digits).simplified();
        if (!key.isEmpty() && !markdownHeading().match(line).hasMatch() &&
            key.split(' ').size() <= maxHeadingWords)
            ++seen[key];
    }
    QStringList kept;
    for (const QString& line : lines) {
        const QString key = QString(line).remove(digits).simplified();
        if (pageNumber.match(line.simplified()).hasMatch() ||
            (seen.value(key) > 1 && key.size() > 3 && !bullet().match(line).hasMatch() &&
             key == key.toUpper()))
            continue;
        kept.append(line);
    }
    return kept;
}

bool endsSentence(const QString& line) {
    static const QRegularExpression end(R"([.!?:;…]["'”’)\]]*\s*$)");
    return end.match(line).hasMatch();
}

// A short line of its own that is a title: no closing punctuation, starting with a capital or a
// number, with the text before it ended and the text after it starting afresh.
bool isPlainHeading(const QString& line, const QString& before, const QString& after) {
    const QString text = line.simplified();
    const qsizetype words = text.split(' ', Qt::SkipEmptyParts).size();
    if (words == 0 || words > maxHeadingWords || text.size() > 80 || bullet().match(line).hasMatch())
        return false;
    static const QRegularExpression closing(R"([.,;!?)\]"”]$)");
    if (closing.match(text).hasMatch() || !(text.front().isUpper() || text.front().isDigit()))
        return false;
    const QString next = after.simplified();
    const bool freshAfter = next.isEmpty() || next.front().isUpper() || next.front().isDigit() ||
                            bullet().match(after).hasMatch() || markdownHeading().match(after).hasMatch();
    // A wrapped line of prose stops on a comma or a small word ("… enters the").
    static const QRegularExpression unfinished(
        R"(,|\s(?:the|a|an|of|and|or|to|in|on|by|with|from|for|as|is|are)$)",
        QRegularExpression::CaseInsensitiveOption);
    if (unfinished.match(text).hasMatch())
        return false;
    return (before.trimmed().isEmpty() || endsSentence(before)) && freshAfter;
}

QString plain(QString text, QStringList* emphasis = nullptr) {
    static const QRegularExpression strong(R"((\*\*|__)([^*_]{1,80}?)\1)");
    static const QRegularExpression light(R"((?<![\w*])([*_])(?!\s)([^*_]{1,60}?)(?<!\s)\1(?![\w*]))");
    static const QRegularExpression link(R"(!?\[([^\]]*)\]\([^)]*\))");
    for (const QRegularExpression* marks : {&strong, &light}) {
        for (auto it = marks->globalMatch(text); emphasis && it.hasNext();)
            emphasis->append(it.next().captured(2).simplified());
        text.replace(*marks, QStringLiteral("\\2"));
    }
    text.replace(link, QStringLiteral("\\1"));
    text.remove(QLatin1Char('`'));
    return text.simplified();
}

Block blockOf(Kind kind, const QString& raw) {
    Block block;
    block.kind = kind;
    block.text = plain(raw, &block.emphasis);
    return block;
}

// A "Title: Subtitle" line, both halves capitalised words with no verb-like lower-case run: a
// title, not a glossary line.
bool isTitleWithColon(const QString& term, const QString& meaning) {
    if (!term.front().isUpper() || meaning.isEmpty() || !meaning.front().isUpper() || endsSentence(meaning))
        return false;
    const QStringList words = meaning.split(' ', Qt::SkipEmptyParts);
    if (words.size() > maxHeadingWords)
        return false;
    static const QSet<QString> small{"a",  "an", "the", "of",   "and",  "in",
                                     "on", "to", "for", "from", "with", "vs"};
    for (const QString& word : words)
        if (!word.front().isUpper() && !word.front().isDigit() && !small.contains(word.toLower()))
            return false;
    return true;
}

} // namespace

QString repaired(const QString& text) {
    QString joined = text;
    joined.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace('\r', '\n').replace('\f', '\n');
    joined.replace(QChar(0x00AD), QString()); // soft hyphens
    return withoutPageFurniture(joinBrokenWords(joined).split('\n')).join('\n');
}

QList<Block> read(const QString& text) {
    const QStringList lines = repaired(text).split('\n');
    QList<Block> blocks;
    QStringList prose;
    const auto flush = [&] {
        if (!prose.isEmpty())
            blocks.append(blockOf(Kind::prose, prose.join(' ')));
        prose.clear();
    };
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.trimmed().isEmpty()) {
            flush();
            continue;
        }
        const QString before = i > 0 ? lines[i - 1] : QString();
        const QString after = i + 1 < lines.size() ? lines[i + 1] : QString();
        if (const auto heading = markdownHeading().match(line); heading.hasMatch()) {
            flush();
            blocks.append(blockOf(Kind::heading, heading.captured(1)));
            continue;
        }
        const auto item = bullet().match(line);
        const QString content = item.hasMatch() ? line.mid(item.capturedEnd()) : line;
        if (const auto glossary = glossaryLine().match(content); glossary.hasMatch()) {
            const QString term = plain(glossary.captured(1));
            const QString meaning = plain(glossary.captured(2));
            const qsizetype termWords = term.split(' ', Qt::SkipEmptyParts).size();
            if (isTitleWithColon(term, meaning) && !item.hasMatch()) {
                flush();
                blocks.append(blockOf(Kind::heading, content));
                continue;
            }
            const qsizetype meaningWords = meaning.split(' ', Qt::SkipEmptyParts).size();
            // "Lewis widened the idea further: …" is a sentence with a colon, not a term.
            static const QRegularExpression clauseWords(R"(\s(?:the|a|an|is|are|was|were|has|have|had)\s)",
                                                        QRegularExpression::CaseInsensitiveOption);
            if (termWords <= maxGlossaryTermWords && meaningWords >= 2 &&
                meaningWords <= maxGlossaryMeaningWords && !clauseWords.match(' ' + term + ' ').hasMatch()) {
                flush();
                Block block = blockOf(Kind::glossary, content);
                block.term = term;
                block.meaning = meaning;
                blocks.append(block);
                continue;
            }
        }
        if (item.hasMatch()) {
            flush();
            blocks.append(blockOf(Kind::item, content));
        } else if (isPlainHeading(line, prose.isEmpty() ? QString() : before, after)) {
            flush();
            blocks.append(blockOf(Kind::heading, line));
        } else {
            prose.append(line.trimmed());
        }
    }
    flush();
    return blocks;
}

} // namespace NoteReader
