#include "Terms/KeyIdeas.h"

#include "Terms/KeyTermEngine.h"
#include "Terms/StandaloneSentence.h"
#include "Terms/TextChunker.h"

#include <QRegularExpression>

QList<KeyTerm> KeyIdeas::parse(const QString& text) {
    static const QRegularExpression lineBreaks(QStringLiteral("[\\n;]+"));
    static const QRegularExpression bullet(QStringLiteral("^(?:[-*•]+|\\d+[.)])\\s*"));
    static const QRegularExpression separator(QStringLiteral("\\s*:\\s+|\\s+[-—–]\\s+|\\s*:$"));
    QStringList items = text.split(lineBreaks, Qt::SkipEmptyParts);
    if (items.size() == 1 && !items.front().contains(u':') && !separator.match(items.front()).hasMatch())
        items = items.front().split(u',', Qt::SkipEmptyParts);
    QList<KeyTerm> ideas;
    for (QString item : std::as_const(items)) {
        item = item.simplified().remove(bullet);
        const QRegularExpressionMatch match = separator.match(item);
        KeyTerm idea;
        idea.term = (match.hasMatch() ? item.left(match.capturedStart()) : item).trimmed();
        if (match.hasMatch())
            idea.definition = item.mid(match.capturedEnd()).trimmed();
        if (idea.term.isEmpty() || idea.term.size() > maxTermChars)
            continue;
        ideas.append(idea);
        if (ideas.size() == maxIdeas)
            break;
    }
    return ideas;
}

QList<KeyTerm> KeyIdeas::found(const QStringList& texts) {
    QList<KeyTerm> terms;
    for (const KeyTermEngine::Term& term : KeyTermEngine::keyTerms(texts))
        terms.append({term.term, term.definition, term.context});
    return terms;
}

void KeyIdeas::define(QList<KeyTerm>& ideas, const QList<KeyTerm>& found, const QStringList& texts,
                      const QString& fallback) {
    QStringList sentences;
    for (KeyTerm& idea : ideas) {
        if (!idea.definition.isEmpty())
            continue;
        for (const KeyTerm& term : found) {
            if (term.term.compare(idea.term, Qt::CaseInsensitive) == 0) {
                idea.definition = term.definition;
                idea.context = term.context;
                break;
            }
        }
        if (!idea.definition.isEmpty())
            continue;
        if (sentences.isEmpty())
            for (const QString& text : texts)
                sentences += TextChunker::sentences(text);
        const QRegularExpression named(QStringLiteral("\\b%1\\b").arg(QRegularExpression::escape(idea.term)),
                                       QRegularExpression::CaseInsensitiveOption);
        for (const QString& sentence : std::as_const(sentences)) {
            // "They sort proteins in the Golgi apparatus" says nothing of the apparatus alone.
            if (named.match(sentence).hasMatch() && !StandaloneSentence::pointsBack(sentence)) {
                idea.definition = sentence.simplified();
                break;
            }
        }
        if (idea.definition.isEmpty())
            idea.definition = fallback;
    }
}
