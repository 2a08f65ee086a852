#include "ConceptBody.h"

#include "TextChunker.h"

#include <QRegularExpression>

namespace {

QString plainLine(QString line) {
    static const QRegularExpression image(R"(!\[([^\]]*)\]\([^)]*\))");
    static const QRegularExpression link(R"(\[([^\]]+)\]\([^)]*\))");
    static const QRegularExpression emphasis(R"((\*{1,3}|_{2,3})([^*_]+)\1)");
    static const QRegularExpression codeMarks(R"(`+)");
    line.replace(image, QStringLiteral("\\1"));
    line.replace(link, QStringLiteral("\\1"));
    line.replace(emphasis, QStringLiteral("\\2"));
    line.remove(codeMarks);
    return line.simplified();
}

QString ended(const QString& sentence) {
    if (sentence.isEmpty() || QStringLiteral(".!?…:").contains(sentence.back()))
        return sentence;
    return sentence + '.';
}

QString shortened(const QString& sentence) {
    if (sentence.size() <= ConceptBody::maxSentenceChars)
        return sentence;
    const qsizetype cut = sentence.lastIndexOf(' ', ConceptBody::maxSentenceChars - 1);
    return sentence.left(cut > 0 ? cut : ConceptBody::maxSentenceChars - 1) + QStringLiteral("…");
}

} // namespace

namespace ConceptBody {

QStringList plainSentences(const QString& text) {
    static const QRegularExpression paragraphBreak(R"(\n\s*\n)");
    static const QRegularExpression heading(R"(^\s*#{1,6}\s)");
    // Table rows read badly as prose; rules ("---") are dropped too.
    static const QRegularExpression table(R"(^\s*(\||:?-{3,}))");
    static const QRegularExpression bullet(R"(^\s*(?:[-*•+]|\d{1,3}[.)])\s+)");
    static const QRegularExpression glossary(R"(^[^.!?]{1,60}?(?:\s[—–-]{1,2}\s|:\s))");
    QStringList sentences;
    const auto add = [&](const QString& unit) {
        for (const QString& sentence : TextChunker::sentences(plainLine(unit)))
            sentences.append(ended(sentence));
    };
    for (const QString& block : text.split(paragraphBreak, Qt::SkipEmptyParts)) {
        QStringList prose;
        for (const QString& line : block.split('\n')) {
            if (line.trimmed().isEmpty() || heading.match(line).hasMatch() || table.match(line).hasMatch())
                continue;
            if (const auto item = bullet.match(line);
                item.hasMatch() || glossary.match(line.trimmed()).hasMatch()) {
                add(prose.join(' '));
                prose.clear();
                add(line.mid(item.hasMatch() ? item.capturedEnd() : 0));
            } else {
                prose.append(line.trimmed());
            }
        }
        add(prose.join(' '));
    }
    return sentences;
}

QString write(const QString& term, const QString& defining, const QStringList& sentences) {
    const QRegularExpression naming("\\b" + QRegularExpression::escape(term) + "(?:s|es)?\\b",
                                    QRegularExpression::CaseInsensitiveOption);
    const QString first = ended(plainLine(defining));
    QStringList picked{shortened(first)};
    qsizetype length = picked.front().size();
    const qsizetype at = sentences.indexOf(first);
    for (qsizetype i = 0; i < sentences.size() && picked.size() < maxSentences && length < targetChars; ++i) {
        if (i == at || sentences[i] == first || !naming.match(sentences[i]).hasMatch())
            continue;
        picked.append(shortened(sentences[i]));
        length += picked.back().size() + 1;
    }
    if (picked.size() == 1 && at >= 0 && at + 1 < sentences.size())
        picked.append(shortened(sentences[at + 1]));
    return picked.join(' ');
}

} // namespace ConceptBody
