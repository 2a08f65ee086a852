#pragma once

#include "Terms/KeyTerm.h"

#include <QList>
#include <QString>
#include <QStringList>

// Mnemonics made from a document's key terms, deterministic for the same input: a guide of
// colour-accented cards (MnemonicGuideWriter) and a short plain-text explanation, made by the type
// of each kind — AcronymMnemonic, AcrosticMnemonic, RhymeMnemonic, StoryMnemonic and
// MemoryPalaceMnemonic ("method_of_loci"). "any" makes an acronym of 3 to 7 short terms, a memory
// palace of more terms than an acronym takes, else a story. The difficulty sets how many terms are
// used (termLimit) and how much of each definition is told.
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
