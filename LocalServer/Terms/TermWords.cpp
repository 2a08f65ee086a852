#include "Terms/TermWords.h"

#include "Terms/CommonWords.h"
#include "Terms/KeyTermEngine.h"

#include <QRegularExpression>
#include <QSet>
#include <algorithm>

namespace TermWords {

bool isArticle(const QString& lowerWord) {
    return lowerWord == QLatin1String("the") || lowerWord == QLatin1String("a") ||
           lowerWord == QLatin1String("an");
}

bool isStopWord(const QString& lowerWord) {
    static const QSet<QString> words{
        "a",       "an",      "the",      "this",    "that",  "these",   "those",  "it",     "its",
        "there",   "here",    "he",       "she",     "they",  "we",      "you",    "i",      "me",
        "us",      "them",    "him",      "her",     "his",   "our",     "their",  "my",     "your",
        "one",     "each",    "which",    "what",    "who",   "whom",    "whose",  "such",   "another",
        "all",     "some",    "any",      "most",    "many",  "much",    "both",   "either", "neither",
        "no",      "not",     "and",      "or",      "but",   "nor",     "so",     "if",     "when",
        "while",   "because", "although", "though",  "also",  "however", "thus",   "then",   "than",
        "of",      "in",      "on",       "at",      "by",    "for",     "with",   "from",   "to",
        "into",    "onto",    "over",     "under",   "about", "as",      "after",  "before", "during",
        "between", "through", "within",   "without", "per",   "via",     "is",     "are",    "was",
        "were",    "be",      "been",     "being",   "has",   "have",    "had",    "do",     "does",
        "did",     "can",     "could",    "will",    "would", "shall",   "should", "may",    "might",
        "must",    "how",     "why",      "where",   "e.g",   "i.e",     "etc",    "vs",     "yes",
        "eg",      "ie"};
    return words.contains(lowerWord);
}

bool isWeakModifier(const QString& lowerWord) {
    static const QSet<QString> words{
        "first",      "second",    "third",  "last",    "next",    "final",     "other",    "many",
        "several",    "most",      "more",   "less",    "few",     "main",      "major",    "minor",
        "important",  "different", "same",   "new",     "old",     "high",      "higher",   "low",
        "lower",      "large",     "larger", "small",   "smaller", "certain",   "specific", "various",
        "particular", "whole",     "entire", "own",     "overall", "total",     "common",   "general",
        "key",        "basic",     "simple", "real",    "true",    "good",      "great",    "best",
        "better",     "early",     "late",   "similar", "single",  "usual",     "typical",  "possible",
        "likely",     "necessary", "useful", "known",   "given",   "following", "previous", "initial",
        "additional", "extra",     "huge",   "tiny",    "big",     "long",      "short",    "full",
        "half",       "net",       "actual", "further", "entire",  "every",     "each",     "such",
        "only",       "even",      "just",   "very",    "much",    "well"};
    return words.contains(lowerWord) || isStopWord(lowerWord);
}

bool isGenericNoun(const QString& lowerPhrase) {
    static const QSet<QString> words{
        "process",  "processes", "type",    "types",    "part",       "parts",    "way",       "ways",
        "thing",    "things",    "example", "examples", "number",     "numbers",  "amount",    "amounts",
        "level",    "levels",    "form",    "forms",    "kind",       "kinds",    "result",    "results",
        "effect",   "effects",   "use",     "uses",     "step",       "steps",    "stage",     "stages",
        "time",     "times",     "case",    "cases",    "change",     "changes",  "lot",       "rate",
        "role",     "set",       "group",   "groups",   "area",       "areas",    "idea",      "ideas",
        "fact",     "facts",     "point",   "points",   "side",       "sides",    "end",       "term",
        "terms",    "word",      "words",   "people",   "person",     "someone",  "something", "everything",
        "anything", "year",      "years",   "day",      "days",       "week",     "weeks",     "lecture",
        "chapter",  "section",   "unit",    "page",     "figure",     "table",    "note",      "notes",
        "question", "questions", "answer",  "answers",  "problem",    "problems", "reason",    "reasons",
        "order",    "place",     "value",   "values",   "name",       "names",    "list",      "method",
        "approach", "factor",    "factors", "feature",  "features",   "aspect",   "aspects",   "instance",
        "majority", "minority",  "total",   "percent",  "percentage", "lots",     "sort",      "bit",
        "piece",    "pieces",    "study",   "studies",  "class",      "course",   "topic",     "topics",
        "today",    "exam",      "test",    "quiz"};
    return words.contains(lowerPhrase);
}

bool isAcronymLike(const QString& word) {
    int upper = 0;
    for (qsizetype i = 0; i < word.size(); ++i)
        upper += word[i].isUpper() && (i > 0 || (word.size() > 1 && word[1].isUpper()));
    return upper >= 1 && word.size() >= 2;
}

bool keepsCapital(const QString& phrase) {
    const QStringList words = phrase.split(' ', Qt::SkipEmptyParts);
    if (words.isEmpty())
        return false;
    if (isAcronymLike(words.first()))
        return true;
    // "Krebs cycle", "Newton's laws": a capitalised word that is not the first is a name's.
    for (qsizetype i = 1; i < words.size(); ++i)
        if (words[i].front().isUpper() && words[i] != QLatin1String("I"))
            return words[i - 1].front().isUpper();
    return false;
}

QString cleaned(const QString& term) {
    static const QRegularExpression marks(R"([*_`"“”‘]|\[|\]|\(|\))");
    // "Luddites 1811–16", "Spinning jenny, 1764": dates belong to the line, not to the term.
    static const QRegularExpression dates(R"([\s,]+(?:c\.\s*)?\d{3,4}(?:\s*[–-]\s*\d{1,4})?s?$)");
    QString text = QString(term).remove(marks).remove(dates).simplified();
    while (!text.isEmpty() && QStringLiteral(".,;:!?'’").contains(text.back()))
        text.chop(1);
    while (!text.isEmpty() && QStringLiteral("'’-–").contains(text.front()))
        text.remove(0, 1);
    return text;
}

bool isPlausible(const QString& term) {
    const QStringList words = term.split(' ', Qt::SkipEmptyParts);
    if (words.isEmpty() || words.size() > KeyTermEngine::maxTermWords || term.size() < 2 || term.size() > 60)
        return false;
    const QString first = words.first().toLower();
    const QString last = words.last().toLower();
    if (isStopWord(first) || (isStopWord(last) && last != QLatin1String("i")) ||
        words.first().front().isDigit())
        return false;
    for (const QString& word : words)
        if (std::all_of(word.begin(), word.end(), [](QChar c) { return c.isDigit() || c.isPunct(); }))
            return false;
    static const QRegularExpression letter(R"(\p{L}{2})");
    return letter.match(term).hasMatch();
}

QString withoutLeadingCapital(const QString& term) {
    if (term.isEmpty() || keepsCapital(term) || !term.front().isUpper())
        return term;
    const QString first = term.section(' ', 0, 0);
    if (first.size() > 1 && first.mid(1) != first.mid(1).toLower())
        return term;
    return term.front().toLower() + term.mid(1);
}

// Title Case is a heading's style, not the term's: "The Nervous System" names the nervous system,
// "Krebs Cycle" the Krebs cycle (a name the word list only has with its capital).
QString withoutTitleCase(const QString& text) {
    QStringList words = text.split(' ', Qt::SkipEmptyParts);
    for (QString& word : words)
        if (!isAcronymLike(word) && word.front().isUpper() &&
            CommonWords::instance().contains(word.toLower()))
            word = word.toLower();
    return words.join(' ');
}

QStringList termsOfHeading(const QString& heading) {
    static const QRegularExpression numbering(
        R"(^(?:(?:chapter|week|lecture|unit|section|part|module|topic|lesson|slide)\s+[\dIVXivx]+[a-z]?|(?:\d+(?:\.\d+)*|[IVX]+)(?=[\s.:)\-–—]))\s*[.:)\-–—]?\s*)",
        QRegularExpression::CaseInsensitiveOption);
    static const QSet<QString> generic{"introduction",
                                       "overview",
                                       "summary",
                                       "conclusion",
                                       "conclusions",
                                       "review",
                                       "key terms",
                                       "vocabulary",
                                       "glossary",
                                       "objectives",
                                       "learning objectives",
                                       "learning goals",
                                       "goals",
                                       "notes",
                                       "lecture notes",
                                       "questions",
                                       "practice questions",
                                       "review questions",
                                       "references",
                                       "reading",
                                       "readings",
                                       "homework",
                                       "examples",
                                       "example",
                                       "definitions",
                                       "background",
                                       "agenda",
                                       "outline",
                                       "recap",
                                       "key points",
                                       "main ideas",
                                       "takeaways",
                                       "key takeaways",
                                       "terms to know",
                                       "discussion",
                                       "exercises",
                                       "practice",
                                       "announcements",
                                       "contents",
                                       "table of contents",
                                       "appendix",
                                       "further reading",
                                       "key concepts",
                                       "important terms",
                                       "key vocabulary",
                                       "study guide",
                                       "exam review",
                                       "bibliography",
                                       "sources",
                                       "notes"};
    QString text = cleaned(heading);
    text.remove(numbering);
    QStringList parts;
    for (const QString& part : text.split(QRegularExpression(R"(\s*:\s+|\s+[—–-]\s+)"), Qt::SkipEmptyParts))
        parts.append(part);
    QStringList terms;
    for (QString part : std::as_const(parts)) {
        part = cleaned(part);
        static const QRegularExpression article(R"(^(?:the|an?)\s+)",
                                                QRegularExpression::CaseInsensitiveOption);
        part.remove(article);
        const QString lower = part.toLower();
        if (generic.contains(lower) || part.endsWith('?'))
            continue;
        const QStringList words = part.split(' ', Qt::SkipEmptyParts);
        static const QRegularExpression pair(
            R"(^([\p{L}\-]+)\s+(?:and|&|vs\.?|versus)\s+([\p{L}\-]+)\s+([\p{L}\-]+)$)",
            QRegularExpression::CaseInsensitiveOption);
        if (const auto match = pair.match(part); match.hasMatch()) {
            terms.append(withoutTitleCase(match.captured(1) + ' ' + match.captured(3)));
            terms.append(withoutTitleCase(match.captured(2) + ' ' + match.captured(3)));
            continue;
        }
        if (words.size() > 4 || !isPlausible(part))
            continue;
        terms.append(withoutTitleCase(part));
    }
    return terms;
}

QString definitionText(const QString& clause) {
    QString text = clause.simplified();
    while (!text.isEmpty() && QStringLiteral(".;:, ").contains(text.back()))
        text.chop(1);
    if (text.size() > KeyTermEngine::maxDefinitionChars) {
        const qsizetype cut = text.lastIndexOf(' ', KeyTermEngine::maxDefinitionChars - 1);
        text = text.left(cut > 0 ? cut : KeyTermEngine::maxDefinitionChars - 1) + QStringLiteral("…");
    }
    if (!text.isEmpty())
        text[0] = text.at(0).toUpper();
    return text;
}

namespace {

const QRegularExpression& leadingPronoun() {
    static const QRegularExpression pattern(
        R"(^(?:it|they|this\s+(?:process|stage|step|molecule|structure|law|idea|concept|theory|method|reaction|cycle|effect)|these\s+(?:molecules|structures|processes|reactions|cells|laws|steps))\b\s*(?!,))",
        QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

} // namespace

QStringList clauses(const QString& sentence) {
    static const QRegularExpression separator(R"(\s*(?:[,;]|\s-\s|\s->)\s+)");
    // "… (old locker combo gets in the way) and retroactive interference is new info …": a clause
    // that defines a second term after "and".
    static const QRegularExpression nextDefinition(R"(\s+and\s+(?=(?:[\p{L}\-]+\s+){1,3}(?:is|=)\s))");
    // Brackets hold asides with commas of their own: they stay in their clause.
    QString masked = sentence;
    int depth = 0;
    for (QChar& c : masked) {
        depth += c == '(' ? 1 : c == ')' && depth > 0 ? -1 : 0;
        if (depth > 0 && (c == ',' || c == ';'))
            c = QChar(0x1F);
    }
    QStringList out;
    qsizetype from = 0;
    const auto take = [&](qsizetype to) {
        for (QString part : sentence.mid(from, to - from).split(nextDefinition, Qt::SkipEmptyParts))
            if (!(part = part.trimmed()).isEmpty())
                out.append(part);
    };
    for (auto it = separator.globalMatch(masked); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        take(match.capturedStart());
        from = match.capturedEnd();
    }
    take(sentence.size());
    return out;
}

QStringList joinedClauses(const QString& sentence) {
    static const QRegularExpression joint(R"((?::|;|,\s+(?:and|while|whereas|but))\s+)");
    QStringList out = sentence.split(joint, Qt::SkipEmptyParts);
    if (!out.isEmpty())
        out.removeFirst();
    return out;
}

QString clauseAbout(const QString& sentence, const QString& term) {
    if (sentence.count(' ') < runOnWords)
        return sentence;
    const QStringList parts = clauses(sentence);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (!parts[i].contains(term, Qt::CaseInsensitive))
            continue;
        QString clause = parts[i];
        for (qsizetype next = i + 1; next < parts.size() && clause.count(' ') < 6; ++next)
            clause += QStringLiteral(", ") + parts[next];
        return clause;
    }
    return sentence;
}

bool startsWithPronoun(const QString& sentence) {
    return leadingPronoun().match(sentence).hasMatch();
}

QString withPronounResolved(const QString& sentence, const QString& term) {
    const auto match = leadingPronoun().match(sentence);
    if (!match.hasMatch() || term.isEmpty())
        return sentence;
    QString subject = term;
    subject[0] = subject.at(0).toUpper();
    return subject + ' ' + sentence.mid(match.capturedEnd()).trimmed();
}

} // namespace TermWords
