#pragma once

#include "Mnemonics/MnemonicGenerator.h"

// A sentence of common words (CommonWords) beginning with the terms' initials, in the terms' order,
// shaped adjective, noun, verb, adjective, plural noun in clauses of up to five words.
class AcrosticMnemonic {
public:
    static MnemonicGenerator::Mnemonic make(const QList<KeyTerm>& terms,
                                            const MnemonicGenerator::Request& request);
};
