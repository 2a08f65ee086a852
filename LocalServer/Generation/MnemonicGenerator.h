#pragma once

#include "KeyTerm.h"

#include <QList>
#include <QString>
#include <QStringList>

// Mnemonics made from a document's key terms, deterministic for the same input. Each is a guide
// of colour-accented cards (MnemonicGuideWriter) and a short plain-text explanation:
// - "acronym": the terms' initials, reordered into a word where some order makes one;
// - "acrostic": a sentence of common words (CommonWords) beginning with the terms' initials, in
//   the terms' order, shaped adjective, noun, verb, adjective, noun in clauses of up to five;
// - "rhyme": a couplet per term, the first line its definition cut at a word that has a rhyme,
//   the second ending on a noun with the same ending — rhymes by spelling, so simple ones;
// - "story": one scene per term, in order, where a character meets the term and what it means;
// - "method_of_loci": a walk through the rooms of a house, one term in each with a vivid image;
// - "any": an acronym for 3 to 7 short terms, a memory palace for more, else a story.
// The difficulty sets how many terms are used (termLimit) and how much of each definition is told.
class MnemonicGenerator {
public:
    static const QStringList& types();        // "any", "acronym", …, "method_of_loci"
    static const QStringList& difficulties(); // "easy", "medium", "hard"

    struct Request {
        QString type;
        QString difficulty;
        QString topic;
        QList<KeyTerm> terms; // most important first
    };
    struct Mnemonic {
        QString type;   // the type made, "any" resolved
        QString device; // the acronym, the acrostic sentence, the first couplet, the story's hero or the
                        // first room
        QString html;
        QString explanation;
        QList<KeyTerm> terms; // the terms used, in the mnemonic's order
    };

    // The terms a mnemonic can use: named, beginning with a letter somewhere, each once.
    static QList<KeyTerm> usableTerms(const QList<KeyTerm>& terms);
    static int termLimit(const QString& type, const QString& difficulty);
    // The type "any" makes of these terms.
    static QString resolveType(const QList<KeyTerm>& terms, const QString& difficulty);
    // Needs at least one usable term.
    static Mnemonic generate(const Request& request);
};
