#include "Terms/DefinitionPatterns.h"

#include "Terms/TermWords.h"

#include <QRegularExpression>
#include <QSet>

namespace DefinitionPatterns {
namespace {

using RE = QRegularExpression;

// A noun phrase of one to five words at the start of a sentence, without its article.
const QString subject = QStringLiteral(
    R"(^(?:(?:the|an?)\s+)?([\p{L}\p{N}][\p{L}\p{N}'’\-–]*(?:\s+[\p{L}\p{N}][\p{L}\p{N}'’\-–]*){0,4}?))");
// A noun phrase of one to five words at the end of a sentence.
const QString object = QStringLiteral(
    R"((?:(?:the|an?)\s+)?([\p{L}\p{N}][\p{L}\p{N}'’\-–]*(?:\s+[\p{L}\p{N}][\p{L}\p{N}'’\-–]*){0,4}))");
const QString end = QStringLiteral(R"(\s*[.!?]?["”’)]*$)");

QString clause(QString text) {
    text = text.trimmed();
    while (!text.isEmpty() && QStringLiteral(".;:,").contains(text.back()))
        text.chop(1);
    return text;
}

bool isPlausibleTerm(const QString& term) {
    static const QRegularExpression pointing(R"(\b(?:this|that|these|those|such|which|it)\b)",
                                             QRegularExpression::CaseInsensitiveOption);
    // Words that join a clause, not a noun phrase: "plates rest on the asthenosphere".
    static const QRegularExpression clauseWord(
        R"(\s(?:the|an?|on|in|at|to|for|with|from|by|into|is|are|was|were|be|as|we|you|they|he|she|who)\s)",
        QRegularExpression::CaseInsensitiveOption);
    if (pointing.match(term).hasMatch() || clauseWord.match(' ' + term.section(' ', 1) + ' ').hasMatch())
        return false;
    // Besides function words and pronouns, the words that open a sentence about something else:
    // "Another example is …", "The main reason is …".
    static const QSet<QString> openers{
        "today",   "now",     "finally", "example", "result",    "reason", "answer", "question", "goal",
        "purpose", "problem", "point",   "idea",    "following", "way",    "thing",  "things",   "key",
        "main",    "other",   "same",    "only",    "more",      "less",   "first",  "second",   "next"};
    const auto notTerm = [](const QString& word) {
        const QString lower = word.toLower();
        return (TermWords::isStopWord(lower) && lower != QLatin1String("i")) || openers.contains(lower);
    };
    const QStringList words = term.split(' ', Qt::SkipEmptyParts);
    return !words.isEmpty() && words.size() <= maxTermWords && !notTerm(words.first()) && term.size() >= 2;
}

void add(QList<Found>& found, const QString& term, const QString& definition, const QString& otherName = {}) {
    // "The quantity demanded of a good is …" defines the quantity demanded.
    static const QRegularExpression ofAny(R"(\s+of\s+(?:an?|any)\s+.*$)",
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression vague(R"(^(?:one\s+such|one\s+of|only|not)\b)",
                                          QRegularExpression::CaseInsensitiveOption);
    const QString cleanTerm = QString(term).remove(ofAny).simplified();
    if (vague.match(definition).hasMatch())
        return;
    if (isPlausibleTerm(cleanTerm) && (definition.isEmpty() || definition.split(' ').size() >= 3))
        found.append({cleanTerm, clause(definition), otherName.simplified()});
}

void findAcronyms(QList<Found>& found, const QString& sentence) {
    static const RE expansionFirst(
        R"(((?:[\p{L}][\p{L}\-]*\s+){0,5}[\p{L}][\p{L}\-]*)\s+\(([A-Z][A-Za-z0-9+]{1,7})\))");
    for (auto it = expansionFirst.globalMatch(sentence); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const QString acronym = match.captured(2);
        const QStringList words = match.captured(1).split(' ', Qt::SkipEmptyParts);
        // The fewest last words the acronym can stand for.
        for (qsizetype take = 1; take <= words.size(); ++take) {
            const QString expansion = words.mid(words.size() - take).join(' ');
            if (abbreviates(acronym, expansion)) {
                found.append({expansion, {}, acronym, true});
                break;
            }
        }
    }
    static const RE acronymFirst(R"(\b([A-Z][A-Z0-9]{1,7}s?)\s+\(([\p{L}][^()]{3,60})\))");
    for (auto it = acronymFirst.globalMatch(sentence); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        if (abbreviates(match.captured(1), match.captured(2)))
            found.append({match.captured(2).simplified(), {}, match.captured(1), true});
    }
}

} // namespace

bool abbreviates(const QString& acronym, const QString& words) {
    const QString letters = acronym.toLower();
    const QString text = words.toLower();
    if (letters.isEmpty() || text.isEmpty() || text.front() != letters.front() ||
        text.split(' ', Qt::SkipEmptyParts).size() > letters.size() + 1)
        return false;
    qsizetype at = 1;
    for (qsizetype i = 1; i < letters.size(); ++i) {
        if (!letters[i].isLetter())
            continue;
        at = text.indexOf(letters[i], at);
        if (at < 0)
            return false;
        ++at;
    }
    return true;
}

QList<Found> findInClause(const QString& clause) {
    static const RE equals(subject + R"(\s*(?:=|:|->)\s*(.{6,})$)", RE::CaseInsensitiveOption);
    static const RE bareCopula(subject + R"(\s+(?:is|are)\s+(?!not\b|also\b|very\b|so\b|too\b)(.{8,})$)",
                               RE::CaseInsensitiveOption);
    QList<Found> found = find(clause);
    if (!found.isEmpty())
        return found;
    QRegularExpressionMatch match;
    if ((match = equals.match(clause)).hasMatch() || (match = bareCopula.match(clause)).hasMatch())
        add(found, match.captured(1), match.captured(2));
    return found;
}

bool startsWithAppositive(const QString& sentence) {
    static const QRegularExpression opening(subject + R"(,\s+(?:a|an)\s)",
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = opening.match(sentence);
    return match.hasMatch() && isPlausibleTerm(match.captured(1));
}

QList<Found> find(const QString& sentence) {
    static const RE::PatternOption ci = RE::CaseInsensitiveOption;
    static const RE alias(
        subject +
            R"(,?\s+(?:also\s+)?(?:called|known\s+as|termed)\s+(?:the\s+|an?\s+)?([^,()]{2,50}?),\s+(?:is|are)\s+(.+)$)",
        ci);
    static const RE aliasInBrackets(
        subject + R"(\s+\((?:also\s+)?(?:called|known\s+as)\s+([^)]{2,50})\)\s+(?:is|are)\s+(.+)$)", ci);
    static const RE definedAs(subject + R"(\s+(?:is|are)\s+(?:defined|described)\s+as\s+(.+)$)", ci);
    static const RE refersTo(subject + R"(\s+(?:refers?\s+to|means|denotes|describes|is\s+when)\s+(.+)$)",
                             ci);
    static const RE copula(
        subject +
            R"(\s+(?:is|are)\s+((?:a|an|the|one|two|three|four|five|several|any|each)\s+.+|\p{L}+ing\s+.+)$)",
        ci);
    static const RE namedAtEnd(
        R"(^(.{8,}?)\s+(?:is|are|was|were)\s+(?:often\s+|also\s+|commonly\s+)?(?:called|known\s+as|termed|named)\s+)" +
            object + end,
        ci);
    static const RE callThis(
        R"(\bcalls?\s+(?:this|that|these|it|them)\b.*\sthe\s+([\p{L}][\p{L}'’\-]*(?:\s+[\p{L}][\p{L}'’\-]*){0,3}))" +
            end,
        ci);
    static const RE callThisBare(
        R"(\bcalls?\s+(?:this|that|these|it|them)(?:\s+process|\s+effect)?\s+([\p{L}][\p{L}'’\-]*(?:\s+[\p{L}][\p{L}'’\-]*){0,2}))" +
            end,
        ci);
    static const RE appositive(subject + R"(,\s+((?:a|an)\s+[^,;]{3,80}),)", ci);
    // "The power of a test, 1 − β, is …", "The alternative hypothesis, H₁ (some books write Hₐ), is …"
    static const RE appositiveThenCopula(
        subject +
            R"(,\s+(?:(?:the|an?)\s+[^,]{3,80}|[^,\s]{1,6}(?:\s+[^,\s]{1,6}){0,2}(?:\s+\([^()]{3,60}\))?),\s+(?:is|are)\s+(.+)$)",
        ci);
    // "Because that alternative points in one direction, this is a one-tailed test."
    static const RE thisIsAn(
        R"((?:^|,\s+)(?:this|that|it)\s+(?:is|would\s+be)\s+an?\s+([\p{L}][\p{L}'’\-]*(?:\s+[\p{L}][\p{L}'’\-]*){0,2}))" +
            end,
        ci);
    static const RE thisIs(
        R"(^(?:this|that)\s+is\s+([\p{L}][\p{L}'’\-]*(?:\s+[\p{L}][\p{L}'’\-]*){0,2})\s*[:.]\s*)", ci);
    static const RE thisIsThe(
        R"(^(?:this|that|these|those)\b[^,]{0,40}?\s+(?:is|are)\s+(?:called\s+|known\s+as\s+)?the\s+([\p{L}][\p{L}'’\-]*(?:\s+[\p{L}][\p{L}'’\-]*){0,3})(?:,|\s*[.!?]?$))",
        ci);
    static const RE dash(subject + R"(\s+[—–]\s+(.{10,})$)", ci);

    QList<Found> found;
    QRegularExpressionMatch match;
    if ((match = appositiveThenCopula.match(sentence)).hasMatch())
        add(found, match.captured(1), match.captured(2));
    else if ((match = thisIsThe.match(sentence)).hasMatch() || (match = thisIs.match(sentence)).hasMatch())
        add(found, match.captured(1), {});
    else if ((match = alias.match(sentence)).hasMatch() ||
             (match = aliasInBrackets.match(sentence)).hasMatch())
        add(found, match.captured(1), match.captured(3), match.captured(2));
    else if ((match = definedAs.match(sentence)).hasMatch() ||
             (match = refersTo.match(sentence)).hasMatch() || (match = dash.match(sentence)).hasMatch())
        add(found, match.captured(1), match.captured(2));
    else if ((match = namedAtEnd.match(sentence)).hasMatch())
        add(found, match.captured(2), match.captured(1));
    else if ((match = callThis.match(sentence)).hasMatch() ||
             (match = callThisBare.match(sentence)).hasMatch())
        add(found, match.captured(1), {});
    else if ((match = thisIsAn.match(sentence)).hasMatch())
        add(found, match.captured(1), clause(sentence));
    else if ((match = copula.match(sentence)).hasMatch())
        add(found, match.captured(1), match.captured(2));
    else if ((match = appositive.match(sentence)).hasMatch())
        add(found, match.captured(1), match.captured(2));
    findAcronyms(found, sentence);
    return found;
}

} // namespace DefinitionPatterns
