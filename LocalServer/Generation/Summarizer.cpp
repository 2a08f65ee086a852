#include "Summarizer.h"

#include "ContentWords.h"
#include "KeyConceptLine.h"
#include "SectionSummary.h"
#include "StandaloneSentence.h"
#include "SubjectDomain.h"

#include <QJsonArray>

Summarizer Summarizer::summarize(const QString& text) {
    return summarize(KeyTermEngine::analyze({text}));
}

Summarizer Summarizer::summarize(const KeyTermEngine::Analysis& analysis) {
    Summarizer result;
    result.summaryText = SectionSummary::write(analysis);
    for (int i = 0; i < analysis.terms.size() && result.keyConcepts.size() < maxKeyConcepts; ++i)
        if (const QString line = KeyConceptLine::of(analysis.terms[i]);
            !line.isEmpty() && StandaloneSentence::describes(analysis, i))
            result.keyConcepts.append(line);
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
