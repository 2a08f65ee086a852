#pragma once

#include "Library/SectionSummary.h"
#include "Terms/KeyTermEngine.h"

#include <QJsonObject>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// Study notes made from a document's own text, deterministic for the same input:
// - summary: one or two of the best sentences of each section, in order (SectionSummary);
// - key concepts: the most important key terms, each with a one-line explanation
//   (KeyConceptLine), as the app shows them: "Glycolysis — splits glucose into …";
// - key terms: the key terms the text defines, with their definitions;
// - domain: the subject whose vocabulary the text uses most (SubjectDomain).
// Terms and sections come from KeyTermEngine, as for every other generator.
// Notes asked for again are made as another variant: the summary leads each part with another of
// its best sentences (SectionSummary), and the second half of the key concepts comes from further
// down the list of terms; variant 0 is the first notes made.
class Summarizer {
public:
    static constexpr int maxKeyConcepts = 8;
    static constexpr int maxKeyTerms = 12;
    static constexpr int variants = SectionSummary::alternates;

    QString summaryText;
    QStringList keyConcepts;
    QList<QPair<QString, QString>> keyTerms;
    QString domain;

    static Summarizer summarize(const QString& text);
    static Summarizer summarize(const KeyTermEngine::Analysis& analysis, int variant = 0);
    // Notes made anew in place of `previous` (a summary record, empty for none): the first variant
    // after the one `previous` reads as whose text differs from it; variant 0 when none does.
    static Summarizer regenerate(const KeyTermEngine::Analysis& analysis, const QJsonObject& previous);
    // The same summary text and key concepts as the record `summary`.
    bool readsAs(const QJsonObject& summary) const;
    // The summary record: summary_text, key_concepts, key_terms, domain, document_type, generated_at.
    QJsonObject toJson(const QString& documentType, const QString& generatedAt) const;
};
