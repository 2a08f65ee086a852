#pragma once

#include "ParsedMnemonicGuide.h"

#include <QString>
#include <QStringView>

// Reads a generated mnemonic guide, an HTML fragment of colour-accented div sections, into cards.
// Never fails: markup it does not know degrades to text, and input without sections gives no cards.
class MnemonicHTMLParser {
public:
    static ParsedMnemonicGuide parse(QStringView html);

    // The plain text of a fragment: tags become spaces, entities are decoded, blanks collapse.
    static QString text(QStringView html);
    // The light Markdown form of a fragment.
    static QString markdown(QStringView html);
};
