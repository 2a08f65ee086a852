#include "Terms/StandaloneSentence.h"

#include "Terms/TermCasing.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace {

using Analysis = KeyTermEngine::Analysis;

enum class Pointer { one, many, ofOne, ofMany, thisOne, theseMany };

const QHash<QString, Pointer>& pointers() {
    static const QHash<QString, Pointer> words{
        {"It", Pointer::one},       {"He", Pointer::one},          {"She", Pointer::one},
        {"They", Pointer::many},    {"Its", Pointer::ofOne},       {"His", Pointer::ofOne},
        {"Her", Pointer::ofOne},    {"Their", Pointer::ofMany},    {"This", Pointer::thisOne},
        {"That", Pointer::thisOne}, {"These", Pointer::theseMany}, {"Those", Pointer::theseMany}};
    return words;
}

// "This is …", "These can …": the demonstrative stands for a thing, not for a noun after it.
const QSet<QString>& auxiliaries() {
    static const QSet<QString> words{"is",     "are",   "was",  "were",  "has",  "have",  "had",
                                     "can",    "could", "will", "would", "may",  "might", "must",
                                     "should", "does",  "do",   "did",   "also", "only",  "often"};
    return words;
}

// "This means …", "This is why …": the demonstrative stands for the whole statement before it.
bool pointsToStatement(const QString& rest) {
    static const QRegularExpression statement(
        R"(^(?:means|meant|shows|showed|explains|explained|suggests|suggested|implies|implied|happens|)"
        R"(happened|matters|mattered|(?:is|was)\s+(?:why|because|how|what|when|where|called|known|done|the reason))\b)",
        QRegularExpression::CaseInsensitiveOption);
    return statement.match(rest).hasMatch();
}

// "It is important to …", "It seems that …": the pronoun stands for nothing before it.
bool isDummyIt(const QString& sentence) {
    static const QRegularExpression dummy(
        R"(^It\s+(?:(?:is|was)\s+(?:not\s+|also\s+|often\s+)?(?:important|possible|impossible|likely|unlikely|)"
        R"(clear|unclear|true|false|worth|necessary|useful|easy|hard|difficult|common|thought|believed|said|)"
        R"(estimated|essential|helpful|vital|crucial|known)\b|(?:seems|seemed|appears|appeared)\s+(?:that|to)\b))");
    return dummy.match(sentence).hasMatch();
}

QString firstWord(const QString& text) {
    static const QRegularExpression word(R"(^[A-Za-z]+)");
    return word.match(text).captured(0);
}

bool looksPlural(const QString& word) {
    static const QRegularExpression plural(R"([^suiay]s$)", QRegularExpression::CaseInsensitiveOption);
    return plural.match(word).hasMatch();
}

// How the text writes the term in the plural; empty when it does not.
QString pluralOf(const KeyTermEngine::Term& term) {
    for (const QString& form : term.forms) {
        const qsizetype extra = form.size() - term.term.size();
        if (extra >= 1 && extra <= 2 && form.startsWith(term.term, Qt::CaseInsensitive) &&
            form.endsWith('s', Qt::CaseInsensitive))
            return form;
    }
    return looksPlural(term.term) ? term.term : QString();
}

QString singularWord(const QString& word) {
    static const QRegularExpression esPlural("(?:ss|sh|ch|x|z)es$");
    if (esPlural.match(word).hasMatch())
        return word.chopped(2);
    return looksPlural(word) ? word.chopped(1) : word;
}

// Whether "This <noun>" stands for the term: the noun is the term's last word or the kind its
// definition opens with ("a pathway that …" → "this pathway"), and not another key term.
bool namesTheKind(const Analysis& analysis, int term, const QString& noun) {
    const KeyTermEngine::Term& named = analysis.terms.at(term);
    const QString singular = singularWord(noun.toLower());
    static const QRegularExpression nonLetters("[^a-z]+");
    const QStringList termWords = named.term.toLower().split(nonLetters, Qt::SkipEmptyParts);
    if (!termWords.isEmpty() && singularWord(termWords.last()) == singular)
        return true;
    for (qsizetype i = 0; i < analysis.terms.size(); ++i)
        if (i != term && singularWord(analysis.terms.at(i).term.toLower()) == singular)
            return false;
    static const QSet<QString> articles{"a", "an", "the", "one", "any"};
    static const QSet<QString> ends{
        "that", "which", "who", "whose", "where", "of",    "in", "into", "for", "by", "with", "from", "to",
        "on",   "at",    "as",  "used",  "made",  "found", "is", "are",  "and", "or", "when", "while"};
    int kept = 0;
    for (QString word : named.definition.toLower().split(' ', Qt::SkipEmptyParts)) {
        const bool clauseEnds = word.endsWith(',') || word.endsWith('(');
        word.remove(nonLetters);
        if (articles.contains(word) || termWords.contains(word))
            continue;
        if (ends.contains(word) || ++kept > 4)
            return false;
        if (singularWord(word) == singular)
            return true;
        if (clauseEnds)
            return false;
    }
    return false;
}

QString possessive(const QString& name) {
    return name + (name.endsWith('s') ? QStringLiteral("'") : QStringLiteral("'s"));
}

} // namespace

namespace StandaloneSentence {

bool pointsBack(const QString& sentence) {
    return pointers().contains(firstWord(sentence)) && !isDummyIt(sentence);
}

bool isTitle(const KeyTermEngine::Sentence& sentence) {
    return sentence.prose && !sentence.text.isEmpty() &&
           !QStringLiteral(".!?…:;\"')").contains(sentence.text.back());
}

int subject(const Analysis& analysis, int sentence) {
    if (sentence < 0 || sentence >= analysis.sentences.size())
        return -1;
    const KeyTermEngine::Sentence& start = analysis.sentences.at(sentence);
    if (!pointsBack(start.text))
        return start.terms.value(0, -1);
    // A few sentences back at most: "Glycolysis … . It … . It …".
    for (int at = sentence - 1; at >= 0 && at >= sentence - 3; --at) {
        const KeyTermEngine::Sentence& before = analysis.sentences.at(at);
        if (before.source != start.source ||
            (before.heading != start.heading && before.text != start.heading))
            return -1;
        if (!before.terms.isEmpty())
            return before.terms.first();
        if (!pointsBack(before.text))
            return -1;
    }
    return -1;
}

QString about(const Analysis& analysis, int sentence, int term) {
    const QString& text = analysis.sentences.at(sentence).text;
    if (!pointsBack(text))
        return text;
    if (term < 0 || term >= analysis.terms.size() || subject(analysis, sentence) != term)
        return {};
    const KeyTermEngine::Term& named = analysis.terms.at(term);
    const QString pronoun = firstWord(text);
    QString rest = text.mid(pronoun.size());
    QString name;
    switch (pointers().value(pronoun)) {
    case Pointer::one:
        name = named.term;
        break;
    case Pointer::many:
        name = pluralOf(named);
        break;
    case Pointer::ofOne:
        name = possessive(named.term);
        break;
    case Pointer::ofMany:
        if (const QString plural = pluralOf(named); !plural.isEmpty())
            name = possessive(plural);
        break;
    case Pointer::thisOne:
    case Pointer::theseMany: {
        const QString next = firstWord(rest.trimmed());
        if (pointsToStatement(rest.trimmed()))
            return {};
        if (namesTheKind(analysis, term, next))
            rest = rest.trimmed().mid(next.size());
        else if (!auxiliaries().contains(next))
            return {};
        name = pointers().value(pronoun) == Pointer::thisOne ? named.term : pluralOf(named);
        break;
    }
    }
    if (name.isEmpty())
        return {};
    return TermCasing::opening(name) + rest;
}

int definingSentence(const Analysis& analysis, int term) {
    const KeyTermEngine::Term& named = analysis.terms.at(term);
    for (int i = 0; i < analysis.sentences.size(); ++i)
        if (analysis.sentences[i].source == named.text && analysis.sentences[i].text == named.sentence)
            return i;
    return -1;
}

bool describes(const Analysis& analysis, int term) {
    const KeyTermEngine::Term& named = analysis.terms.at(term);
    if (named.defined)
        return true;
    const int sentence = definingSentence(analysis, term);
    const QString text = sentence >= 0 ? about(analysis, sentence, term) : named.sentence;
    // The term is the sentence's subject: it opens the sentence, after an article or an opening phrase.
    QStringList names;
    for (const QString& name : QStringList{named.term} + named.forms)
        names.append(QRegularExpression::escape(name));
    const QRegularExpression opens(R"(^(?:[^,.;:]{1,40},\s+)?(?:(?:the|a|an|each|every|one|all)\s+)?(?:)" +
                                       names.join('|') + R"()\b)",
                                   QRegularExpression::CaseInsensitiveOption);
    return opens.match(text).hasMatch();
}

QStringList quote(const Analysis& analysis, const QList<int>& sentences) {
    QStringList quoted;
    int previous = -2;
    for (const int index : sentences) {
        const bool follows = index == previous + 1 &&
                             analysis.sentences.at(index).source == analysis.sentences.at(previous).source;
        const QString text =
            follows ? analysis.sentences.at(index).text : about(analysis, index, subject(analysis, index));
        if (text.isEmpty())
            continue;
        quoted.append(text);
        previous = index;
    }
    return quoted;
}

} // namespace StandaloneSentence
