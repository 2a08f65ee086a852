#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A course's key terms, found once in its documents' text and shared by every generator:
// vocabulary, quizzes, notes, feed cards, reading guides, mnemonics and song lyrics. Deterministic
// for the same input.
//
// Candidates come from what a teacher marks: headings over a paragraph, bold or emphasised words,
// glossary lines, definitional sentences ("X is a …", "X, also called Y, …", "X refers to …",
// "… is called X", "known as X", appositives "X, a …"), acronyms with their expansions, and noun
// phrases (link-grammar's English parser) that recur across the documents. Each is ranked by where
// it stands, how it spreads over the documents, and how rare its words are in general English;
// forms of one term (number, case, acronym and expansion) are merged under the casing the text
// uses most. Every term gets a definition: its defining clause, else the sentence that best
// describes it, with a leading pronoun replaced by the term.
class KeyTermEngine {
public:
    // Where a term was found; the strongest source decides its weight.
    enum class Source { heading, definition, glossary, emphasis, acronym, phrase };

    struct Term {
        QString term;       // as the text writes it: "ATP", "Krebs cycle", "glycolysis"
        QString definition; // the defining clause, first letter upper case, no final full stop
        QString sentence;   // the sentence (or glossary line) the definition comes from, plain text
        QString context;    // another sentence of the text using the term; empty when there is none
        QString heading;    // the heading the defining sentence stands under, if any
        int text = 0;       // which of the texts defines it
        QStringList forms;  // other ways the text writes it: plural, acronym or expansion
        Source source = Source::phrase;
        double score = 0;
        bool defined = false; // the text states a definition (not only a sentence that uses it)
    };

    // A sentence of the texts as plain prose, with the key terms it names.
    struct Sentence {
        QString text;
        int source = 0;     // which text
        QString heading;    // the heading it stands under, if any
        QList<int> terms;   // indexes into Analysis::terms, in the order the sentence names them
        bool prose = false; // a full sentence, not a heading, list fragment or glossary line
    };

    struct Section {
        QString heading; // empty for text before the first heading
        int source = 0;
        QList<int> sentences; // indexes into Analysis::sentences
    };

    struct Analysis {
        QList<Term> terms; // best first
        QList<Sentence> sentences;
        QList<Section> sections;
        bool english = true; // false when most words are not English: no terms are made up then
    };

    static constexpr int maxTerms = 40;
    static constexpr int maxTermWords = 5;
    static constexpr int maxDefinitionChars = 300;

    static Analysis analyze(const QStringList& texts);
    // analyze(texts).terms.
    static QList<Term> keyTerms(const QStringList& texts);
};
