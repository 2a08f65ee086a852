#include "Terms/KeyConceptLine.h"

#include "Terms/CommonWords.h"
#include "Terms/TermCasing.h"

#include <QRegularExpression>

namespace {

// "Glycolysis splits …", "A queue is …", "Osmosis, the …": the line names the term already.
QString withoutTerm(const QString& definition, const KeyTermEngine::Term& term) {
    static const QRegularExpression article(R"(^(?:a|an|the|each|every)\s+)",
                                            QRegularExpression::CaseInsensitiveOption);
    // "NADH and FADH2 pass …" is about both: the line keeps the whole sentence.
    static const QRegularExpression joined(R"(^(?:\s+(?:and|or|nor|of)\b|['’]s\b))",
                                           QRegularExpression::CaseInsensitiveOption);
    // "Dynamic array (std::vector): when full, …": an aside after the term goes with it.
    static const QRegularExpression aside(R"(^\s*\([^)]*\))");
    static const QRegularExpression linking(
        R"(^[\s,:;—–-]*(?:(?:is|are)\s+defined\s+as|(?:is|are)|refers?\s+to|means)?\s+)",
        QRegularExpression::CaseInsensitiveOption);
    const QString bare = QString(definition).remove(article);
    for (const QString& name : QStringList{term.term} + term.forms) {
        if (!bare.startsWith(name, Qt::CaseInsensitive) || bare.size() == name.size() ||
            bare.at(name.size()).isLetterOrNumber())
            continue;
        QString rest = bare.mid(name.size());
        if (joined.match(rest).hasMatch())
            return definition;
        return rest.remove(aside).remove(linking).trimmed();
    }
    return definition;
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
    static const QRegularExpression letters("^[A-Za-z]+");
    const QString word = letters.match(text).captured(0);
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
    // "Also known as …" names the term again; it does not explain it.
    static const QRegularExpression alias(R"(^(?:also\s+)?(?:known\s+as|called|named|referred\s+to\s+as)\b)",
                                          QRegularExpression::CaseInsensitiveOption);
    if (explanation.isEmpty() || alias.match(explanation).hasMatch())
        return {};
    return TermCasing::opening(term.term) + QStringLiteral(" — ") + explanation;
}

} // namespace KeyConceptLine
