#pragma once

#include "KeyTermEngine.h"

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
class Summarizer {
public:
    static constexpr int maxKeyConcepts = 8;
    static constexpr int maxKeyTerms = 12;

    QString summaryText;
    QStringList keyConcepts;
    QList<QPair<QString, QString>> keyTerms;
    QString domain;

    static Summarizer summarize(const QString& text);
    static Summarizer summarize(const KeyTermEngine::Analysis& analysis);
    // The summary record: summary_text, key_concepts, key_terms, domain, document_type, generated_at.
    QJsonObject toJson(const QString& documentType, const QString& generatedAt) const;
};
