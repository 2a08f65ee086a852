#pragma once

#include "Mnemonics/MnemonicGenerator.h"

// A walk through the rooms of a house (method of loci), one term in each room on an object there,
// with an odd image to fix it and what the term means.
class MemoryPalaceMnemonic {
public:
    static constexpr int rooms = 12;

    static MnemonicGenerator::Mnemonic make(const QList<KeyTerm>& terms,
                                            const MnemonicGenerator::Request& request);
};
