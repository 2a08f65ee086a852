#pragma once

#include "Mnemonics/MnemonicGenerator.h"

// A short story with one scene per term, in order, in which a character meets the term and what it
// means.
class StoryMnemonic {
public:
    static MnemonicGenerator::Mnemonic make(const QList<KeyTerm>& terms,
                                            const MnemonicGenerator::Request& request);
};
