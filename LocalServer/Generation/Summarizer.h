#pragma once

#include <QJsonObject>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// Study notes made from a document's own text, deterministic for the same input:
// - summary: the highest-scoring sentences (sum of their content words' frequencies in the whole
//   text, divided by the square root of their length), in document order;
// - key concepts: the most frequent content words and two-word phrases;
// - key terms: terms defined in the text ("X is a/an/the …", "X refers to …", "X is defined as …",
//   "X means …", glossary lines "X: …"), the rest of the defining sentence being the definition;
// - domain: the subject whose vocabulary the text uses most.
class Summarizer {
public:
    QString summaryText;
    QStringList keyConcepts;
    QList<QPair<QString, QString>> keyTerms;
    QString domain;

    static Summarizer summarize(const QString& text);
    // The summary record: summary_text, key_concepts, key_terms, domain, document_type, generated_at.
    QJsonObject toJson(const QString& documentType, const QString& generatedAt) const;

    static QStringList contentWords(const QString& sentence);
    static QList<QPair<QString, QString>> findDefinitions(const QStringList& sentences);
};
