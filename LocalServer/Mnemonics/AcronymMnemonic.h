#pragma once

#include "Mnemonics/MnemonicGenerator.h"

// The terms' initials as one word: reordered (AcronymOrder) into a common word where some order
// makes one, with a card per letter and a table of letters, terms and meanings.
class AcronymMnemonic {
public:
    static MnemonicGenerator::Mnemonic make(const QList<KeyTerm>& terms,
                                            const MnemonicGenerator::Request& request);
};
