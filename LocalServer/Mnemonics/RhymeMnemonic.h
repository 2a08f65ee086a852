#pragma once

#include "Mnemonics/MnemonicGenerator.h"

// A couplet per term: the first line its definition, cut where a phrase ends on a word that has a
// rhyme; the second ends on a common noun with the same spelling ending. Rhymes by spelling are
// simple ones, and the guide says so.
class RhymeMnemonic {
public:
    static MnemonicGenerator::Mnemonic make(const QList<KeyTerm>& terms,
                                            const MnemonicGenerator::Request& request);
};
