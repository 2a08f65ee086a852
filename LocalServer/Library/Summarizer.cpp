#include "Library/Summarizer.h"

#include "Library/ContentWords.h"
#include "Library/SectionSummary.h"
#include "Library/SubjectDomain.h"
#include "Terms/KeyConceptLine.h"
#include "Terms/StandaloneSentence.h"

#include <QJsonArray>
#include <algorithm>

Summarizer Summarizer::summarize(const QString& text) {
    return summarize(KeyTermEngine::analyze({text}));
}

namespace {

// The first half of `lines` (best first) always leads; a variant takes the rest from further down,
// in turn, keeping the order of importance.
QStringList conceptsOf(const QStringList& lines, int variant) {
    if (lines.size() <= Summarizer::maxKeyConcepts)
        return lines;
    constexpr int kept = Summarizer::maxKeyConcepts / 2;
    constexpr int wanted = Summarizer::maxKeyConcepts - kept;
    const QStringList rest = lines.mid(kept);
    QList<qsizetype> picked;
    for (int k = 0; k < wanted; ++k)
        picked.append((qsizetype(variant) * wanted + k) % rest.size());
    std::sort(picked.begin(), picked.end());
    QStringList chosen = lines.mid(0, kept);
    for (const qsizetype index : std::as_const(picked))
        chosen.append(rest[index]);
    return chosen;
}

} // namespace

Summarizer Summarizer::summarize(const KeyTermEngine::Analysis& analysis, int variant) {
    Summarizer result;
    result.summaryText = SectionSummary::write(analysis, variant);
    QStringList lines;
    for (int i = 0; i < analysis.terms.size() && lines.size() < variants * maxKeyConcepts; ++i)
        if (const QString line = KeyConceptLine::of(analysis.terms[i]);
            !line.isEmpty() && StandaloneSentence::describes(analysis, i))
            lines.append(line);
    result.keyConcepts = conceptsOf(lines, variant);
    for (const KeyTermEngine::Term& term : analysis.terms) {
        if (result.keyTerms.size() >= maxKeyTerms)
            break;
        if (term.defined && !term.definition.isEmpty())
            result.keyTerms.append({term.term, term.definition});
    }
    QStringList sentences;
    for (const KeyTermEngine::Sentence& sentence : analysis.sentences)
        sentences.append(sentence.text);
    result.domain = SubjectDomain::of(ContentWords::frequency(sentences));
    return result;
}

Summarizer Summarizer::regenerate(const KeyTermEngine::Analysis& analysis, const QJsonObject& previous) {
    QList<Summarizer> made;
    int current = -1;
    for (int variant = 0; variant < variants; ++variant) {
        made.append(summarize(analysis, variant));
        if (current < 0 && made.last().readsAs(previous))
            current = variant;
    }
    for (int step = 1; step <= variants; ++step) {
        const int variant = (current + step) % variants;
        if (!made[variant].readsAs(previous))
            return made[variant];
    }
    return made.front();
}

bool Summarizer::readsAs(const QJsonObject& summary) const {
    QStringList concepts;
    for (const QJsonValue& line : summary.value("key_concepts").toArray())
        concepts.append(line.toString());
    return !summary.isEmpty() && summary.value("summary_text").toString() == summaryText &&
           concepts == keyConcepts;
}

QJsonObject Summarizer::toJson(const QString& documentType, const QString& generatedAt) const {
    QJsonArray terms;
    for (const auto& [term, definition] : keyTerms)
        terms.append(QJsonObject{{"term", term}, {"definition", definition}});
    return QJsonObject{{"summary_text", summaryText},
                       {"key_concepts", QJsonArray::fromStringList(keyConcepts)},
                       {"key_terms", terms},
                       {"domain", domain},
                       {"document_type", documentType},
                       {"generated_at", generatedAt}};
}
