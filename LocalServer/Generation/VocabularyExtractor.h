#pragma once

#include <QJsonArray>
#include <QList>
#include <QStringList>

// A course's key terms from its documents' text, deterministic for the same input.
//
// Candidates are terms the text defines: sentences "X is a/an/the …", "X is defined as …",
// "X refers to …" and "X, which …", glossary lines "X — …", "X - …" and "X: …", and terms in bold
// (**X**) or markdown headings, whose sentence or following sentence is then the definition. Each
// candidate is weighed like TF-IDF over the text's paragraphs, words compared by their Snowball
// stems: (1 + ln occurrences) × ln(1 + paragraphs / paragraphs with it), halved for bold and
// heading terms. The best `maxTerms` are answered, best first, as VocabularyTerm records: term,
// definition, context (another sentence of the text using the term, when there is one) and
// importance ("high" for the first ten, "medium" for the next ten, then "low").
class VocabularyExtractor {
public:
    static constexpr int maxTerms = 30;
    static constexpr int maxTermWords = 4;
    static constexpr int maxDefinitionChars = 400;

    struct Term {
        QString term;
        QString definition;
        QString context;  // empty when the text uses the term nowhere else
        QString sentence; // the defining sentence (or glossary line) as plain text
        QString heading;  // the markdown heading the sentence is under, if any
        int text = 0;     // which of the texts defines it
    };
    // The key terms, best first.
    static QList<Term> keyTerms(const QStringList& texts);
    // keyTerms as VocabularyTerm records.
    static QJsonArray extract(const QStringList& texts);
};
