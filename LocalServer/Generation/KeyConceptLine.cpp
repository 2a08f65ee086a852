#include "KeyConceptLine.h"

#include "CommonWords.h"
#include "TermCasing.h"

#include <QRegularExpression>

namespace {

// "Glycolysis splits …", "ATP is the …", "Osmosis, the …": the line names the term already.
QString withoutTerm(QString text, const KeyTermEngine::Term& term) {
    for (const QString& name : QStringList{term.term} + term.forms) {
        if (!text.startsWith(name, Qt::CaseInsensitive) || text.size() == name.size() ||
            text.at(name.size()).isLetterOrNumber())
            continue;
        static const QRegularExpression linking(
            R"(^[\s,:;—–-]*(?:(?:is|are)\s+defined\s+as|(?:is|are)|refers?\s+to|means)?\s+)",
            QRegularExpression::CaseInsensitiveOption);
        text = text.mid(name.size());
        text.remove(linking);
        break;
    }
    return text.trimmed();
}

// The definition's first letter as the text writes it: upper case only for a name or an acronym.
QString textCasing(QString text, const QString& sentence) {
    if (text.isEmpty())
        return text;
    const qsizetype at = sentence.indexOf(text, 0, Qt::CaseInsensitive);
    if (at > 0) {
        text[0] = sentence.at(at);
        return text;
    }
    const QString word = text.section(' ', 0, 0);
    if (word.mid(1) == word.mid(1).toLower() && CommonWords::instance().contains(word.toLower()))
        text[0] = text.at(0).toLower();
    return text;
}

QString oneLine(QString text) {
    while (!text.isEmpty() && QStringLiteral(".;,:").contains(text.back()))
        text.chop(1);
    if (text.size() <= KeyConceptLine::maxExplanationChars)
        return text;
    static const QRegularExpression clause(R"([,;(]\s|\s[—–]\s)");
    qsizetype cut = -1;
    for (auto it = clause.globalMatch(text); it.hasNext();) {
        const qsizetype at = it.next().capturedStart();
        if (at > KeyConceptLine::maxExplanationChars)
            break;
        cut = at;
    }
    if (cut >= KeyConceptLine::minClauseChars)
        return text.left(cut);
    const qsizetype space = text.lastIndexOf(' ', KeyConceptLine::maxExplanationChars - 1);
    return text.left(space > 0 ? space : KeyConceptLine::maxExplanationChars - 1) + QStringLiteral("…");
}

} // namespace

namespace KeyConceptLine {

QString of(const KeyTermEngine::Term& term) {
    const QString explanation =
        oneLine(textCasing(withoutTerm(term.definition.simplified(), term), term.sentence));
    if (explanation.isEmpty())
        return {};
    return TermCasing::opening(term.term) + QStringLiteral(" — ") + explanation;
}

} // namespace KeyConceptLine
